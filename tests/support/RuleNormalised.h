#pragma once

// The comparisons under rules defined plainly: the plain comparisons (PlainComparisons.h) on
// copies of the texts in which every line is replaced by what the rules' kinds make of it. To
// hold the engine against in tests and fuzzing.
#include "MissingPieces.h"
#include "PlainComparisons.h"
#include "compare/LookalikeForms.h"
#include "compare/RuleText.h"

#include <optional>
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

// `line` with the units the word comparison's forms reserve, and a CR, written as they write them.
inline std::u16string EscapedAsWordForms(Text line) {
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
    return escaped;
}

// The word comparison's lines of `text` (cut at CR LF), each replaced by its form under `kinds`,
// with a CR inside a line written as the forms write it.
inline std::vector<std::u16string> WordLinesUnderKinds(Text text, compare::LookalikeKinds kinds) {
    std::vector<std::u16string> made;
    for (const Text line : WordLines(text))
        made.push_back(compare::RemoveLookalikeDifferences(kinds, EscapedAsWordForms(line)));
    return made;
}

// The index of the piece of `text` that starts at `start`.
inline std::size_t PieceNumberAt(Text text, std::size_t start) {
    std::size_t number = 0;
    for (std::size_t i = 0; i < start; ++i)
        number += text[i] == u'\r';
    return number;
}

// The numbers of the pieces of `own` that stay red under `kinds`: the plain line comparison of
// the formed texts.
inline std::vector<std::size_t> RedPiecesUnderKinds(Text own, Text other,
                                                    compare::LookalikeKinds kinds) {
    const std::u16string formedOwn = PiecesUnderKinds(own, kinds);
    const std::u16string formedOther = PiecesUnderKinds(other, kinds);
    std::vector<std::size_t> red;
    for (const compare::Piece piece : ::MissingPieces(formedOwn, formedOther))
        red.push_back(PieceNumberAt(formedOwn, piece.start));
    return red;
}

// Where the words of each formed line of `text` stand in `text`, line by line, as the forms say.
inline std::vector<std::vector<WordMark>> FormedWordPlaces(Text text,
                                                           const compare::ComparisonRules& rules) {
    compare::RuleText ruleText(rules);
    compare::RuleLine form;
    std::vector<std::vector<WordMark>> places;
    std::size_t lineStart = 0;
    for (const Text line : WordLines(text)) {
        ruleText.Form(line, form);
        std::vector<WordMark>& words = places.emplace_back();
        if (!form.Text().empty()) {
            std::size_t start = 0;
            for (const Text word : CutAt(form.Text(), u" ")) {
                const auto [from, to] = form.Original(start, word.size());
                words.push_back({lineStart + from, to - from});
                start += word.size() + 1;
            }
        }
        lineStart += line.size() + 2;
    }
    return places;
}

// The red words of `own` under `kinds`: the plain walk of each formed line against its formed
// partner, the lines paired as they stand (a last line that the rules leave empty is still a
// line of the text, not the empty line a final line break leaves), taken back to where the words
// stand unformed.
inline Marks RedWordsUnderKinds(Text own, Text other, compare::LookalikeKinds kinds) {
    const compare::ComparisonRules rules(compare::RuleChoice{kinds, std::nullopt, {}});
    const auto places = FormedWordPlaces(own, rules);
    const std::vector<std::u16string> ownFormed = WordLinesUnderKinds(own, kinds);
    const std::vector<std::u16string> otherFormed = WordLinesUnderKinds(other, kinds);
    Marks red;
    std::size_t line = 0;
    ForEachLinePair(
        WordLines(own), WordLines(other), [&](Text, std::optional<std::size_t> partner) {
            const std::vector<Text> supply =
                partner ? Words(otherFormed[*partner]) : std::vector<Text>{};
            for (const std::size_t word : UnmatchedWords(Words(ownFormed[line]), supply))
                red.push_back(places[line][word]);
            ++line;
        });
    return red;
}

} // namespace plain
