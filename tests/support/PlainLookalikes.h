#pragma once

#include "MissingPieces.h"
#include "compare/LineIndex.h"
#include "compare/Lines.h"
#include "compare/Lookalike.h"
#include "compare/LookalikeLines.h"
#include "compare/LooseKey.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plain {

// The look-alike search of lines written plainly: for each red line of `own`, the lines of `other`
// in text order that share its loose key, each content once, until one is a look-alike or
// kMostCandidates are not.
inline std::vector<std::optional<compare::LineLookalike>>
LineLookalikes(std::u16string_view own, std::u16string_view other) {
    const compare::LineIndex otherLines(other);
    std::vector<std::optional<compare::LineLookalike>> found;
    std::u16string scratch, otherScratch;
    for (const compare::Piece& piece : MissingPieces(own, other)) {
        const std::u16string_view content =
            compare::LineContent(own.substr(piece.start, piece.length));
        const bool tooLong = content.size() > compare::kLongestLookalikeLine;
        const std::u16string key(compare::LooseKey(content, scratch));
        std::vector<std::u16string_view> rejected;
        std::optional<compare::LineLookalike>& lookalike = found.emplace_back();
        for (std::size_t line = 0; !tooLong && line < otherLines.PieceCount() && !lookalike &&
                                   rejected.size() < compare::kMostCandidates;
             ++line) {
            const compare::Piece cut = otherLines.PieceAt(line);
            const std::u16string_view candidate =
                compare::LineContent(other.substr(cut.start, cut.length));
            if (candidate.size() > compare::kLongestLookalikeLine ||
                compare::LooseKey(candidate, otherScratch) != key ||
                std::find(rejected.begin(), rejected.end(), candidate) != rejected.end())
                continue;
            if (const auto kinds = compare::ExplainLookalike(content, candidate))
                lookalike = compare::LineLookalike{cut, line + 1, *kinds};
            else
                rejected.push_back(candidate);
        }
    }
    return found;
}

} // namespace plain
