#pragma once

// The comparisons under rules defined plainly: the plain comparisons (PlainComparisons.h) on
// copies of the texts in which every line is replaced by what the rules' kinds make of it. To
// hold the engine against in tests and fuzzing.
#include "PlainComparisons.h"
#include "compare/LookalikeForms.h"
#include "compare/RuleText.h"

#include <string>
#include <string_view>
#include <vector>

namespace plain {

// A text of pieces (cut at CR) whose contents are replaced by their forms under `kinds`. Each
// piece gets one LF in front, which the line comparison leaves out, so that a form that begins
// with an LF keeps it.
inline std::u16string PiecesUnderKinds(Text text, compare::LookalikeKinds kinds) {
    std::u16string made;
    const std::vector<Text> pieces = Pieces(text);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        made += u'\n';
        made += compare::RemoveLookalikeDifferences(kinds, compare::LineContent(pieces[i]));
        if (i + 1 < pieces.size())
            made += u'\r';
    }
    return made;
}

// The word comparison's lines of `text` (cut at CR LF), each replaced by its form under `kinds`,
// with a CR inside a line written as the forms write it.
inline std::vector<std::u16string> WordLinesUnderKinds(Text text, compare::LookalikeKinds kinds) {
    std::vector<std::u16string> made;
    for (const Text line : WordLines(text)) {
        std::u16string escaped;
        for (const char16_t unit : line) {
            if (unit == u'\uFDD0')
                escaped += u"\uFDD1\uFDD2";
            else if (unit == u'\uFDD1')
                escaped += u"\uFDD1\uFDD1";
            else if (unit == u'\r')
                escaped += u"\uFDD1\uFDD3";
            else
                escaped += unit;
        }
        made.push_back(compare::RemoveLookalikeDifferences(kinds, escaped));
    }
    return made;
}

// The index of the piece of `text` that starts at `start`.
inline std::size_t PieceNumberAt(Text text, std::size_t start) {
    std::size_t number = 0;
    for (std::size_t i = 0; i < start; ++i)
        number += text[i] == u'\r';
    return number;
}

} // namespace plain
