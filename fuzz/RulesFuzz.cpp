// The comparisons under rules, over whole texts and over texts in chunks, against the plain
// comparisons of the texts whose lines are what the rules' kinds make of them; and the keys of
// the line comparison against the look-alike forms themselves.
#include "FuzzInput.h"
#include "RuleNormalised.h"
#include "compare/LinesUnderRules.h"
#include "compare/WordsUnderRules.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Text = std::u16string_view;

// The chunk byte's high bits choose the kinds (the fuzzer's first byte also picks the chunks).
compare::LookalikeKinds KindsFrom(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return compare::LookalikeKind::Case;
    const auto bits = static_cast<std::uint16_t>(data[0] | data[1] << 8);
    return compare::LookalikeKinds::FromBits(bits == 0 ? 1 : bits);
}

plain::Marks HeldWords(Text own, Text other, const compare::ComparisonRules& rules) {
    plain::Marks red;
    compare::ForEachWordUnderRules(
        own, other, rules,
        [&](std::size_t start, std::size_t length) {
            red.push_back({start, length});
        },
        [](const compare::RuleMatch&) {}, [](std::size_t) { return true; });
    return red;
}

plain::Marks StreamedWords(Text own, Text other, std::size_t chunk,
                           const compare::ComparisonRules& rules) {
    plain::Marks red;
    std::size_t ownAt = 0, otherAt = 0;
    const auto ownChunks = [&] {
        const Text next = own.substr(ownAt, chunk);
        ownAt += next.size();
        return next;
    };
    const auto otherChunks = [&] {
        const Text next = other.substr(otherAt, chunk);
        otherAt += next.size();
        return next;
    };
    compare::ForEachWordUnderRulesStreamed(
        ownChunks, otherChunks, rules,
        [&](std::size_t start, Text word, std::size_t, std::size_t) {
            red.push_back({start, word.size()});
        },
        [](const compare::RuleMatch&, Text, Text) {});
    return red;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr char16_t kAlphabet[] = {u'a',      u'A',      u' ',      u' ',      u'\t',
                                      u'\r',     u'\n',     u'b',      u'\u00A0', u'\u200B',
                                      u'\u0301', u'\u00E9', u'\uFB01', u'0',      u'O',
                                      u'\u00B4', u'\uFDD0', u'\uFDD1', u'm',      u'\u212A'};
    const FuzzTexts input = TextsFrom(data, size, kAlphabet);
    const compare::LookalikeKinds kinds = KindsFrom(data, size);
    const compare::ComparisonRules rules(compare::RuleChoice{kinds, std::nullopt, {}});
    compare::RuleText text(rules);
    for (const Text piece : plain::Pieces(input.texts[0])) {
        const Text content = compare::LineContent(piece);
        Check(text.Key(content) == compare::RemoveLookalikeDifferences(kinds, content));
    }
    const compare::LineIndex first(input.texts[0]), second(input.texts[1]);
    const auto lines = compare::CompareLinesUnderRules(first, second, rules);
    for (int own = 0; own < 2; ++own) {
        const Text ownText = input.texts[own];
        const Text otherText = input.texts[1 - own];
        std::vector<std::size_t> red;
        lines[own].ForEach(
            own == 0 ? second : first,
            [&](compare::Piece piece) {
                red.push_back(plain::PieceNumberAt(ownText, piece.start));
            },
            [](const compare::RuleMatch&) {});
        Check(red == plain::RedPiecesUnderKinds(ownText, otherText, kinds));
        const plain::Marks words = HeldWords(ownText, otherText, rules);
        Check(words == plain::RedWordsUnderKinds(ownText, otherText, kinds));
        Check(words == StreamedWords(ownText, otherText, input.chunk, rules));
    }
    return 0;
}
