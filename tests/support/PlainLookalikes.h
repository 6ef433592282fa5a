#pragma once

#include "MissingPieces.h"
#include "compare/LineIndex.h"
#include "compare/Lines.h"
#include "compare/Lookalike.h"
#include "compare/LookalikeLines.h"

#include <optional>
#include <ostream>
#include <string_view>
#include <vector>

namespace compare {

// How a test that fails shows a look-alike found.
inline void PrintTo(const LineLookalike& lookalike, std::ostream* out) {
    *out << "line " << lookalike.line << " (" << lookalike.piece.start << "+"
         << lookalike.piece.length << ") kinds " << lookalike.kinds.Bits();
}

} // namespace compare

namespace plain {

// The look-alike search of lines written plainly, from the rules alone: for each red line of
// `own`, the first line of `other` in text order that is its look-alike, every line checked, no
// key and no limit. Lines longer than kLongestLookalikeLine are passed over on both sides.
inline std::vector<std::optional<compare::LineLookalike>>
LineLookalikes(std::u16string_view own, std::u16string_view other) {
    const compare::LineIndex otherLines(other);
    // Each line's forms once, so that each pair costs a comparison of forms.
    std::vector<std::optional<compare::LookalikeForms>> otherForms;
    for (std::size_t line = 0; line < otherLines.PieceCount(); ++line) {
        const compare::Piece cut = otherLines.PieceAt(line);
        const std::u16string_view content =
            compare::LineContent(other.substr(cut.start, cut.length));
        otherForms.emplace_back();
        if (content.size() <= compare::kLongestLookalikeLine)
            otherForms.back().emplace(content);
    }
    std::vector<std::optional<compare::LineLookalike>> found;
    for (const compare::Piece& piece : MissingPieces(own, other)) {
        const std::u16string_view content =
            compare::LineContent(own.substr(piece.start, piece.length));
        std::optional<compare::LineLookalike>& lookalike = found.emplace_back();
        if (content.size() > compare::kLongestLookalikeLine)
            continue;
        const compare::LookalikeForms forms(content);
        for (std::size_t line = 0; line < otherForms.size() && !lookalike; ++line)
            if (otherForms[line])
                if (const auto kinds = compare::ExplainLookalike(forms, *otherForms[line]))
                    lookalike = compare::LineLookalike{otherLines.PieceAt(line), line + 1, *kinds};
    }
    return found;
}

} // namespace plain
