// The word comparison, over whole texts and over texts in chunks, against its rules written as
// plainly as they can be.
#include "PlainComparisons.h"
#include "compare/WordPass.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Text = std::u16string_view;

using plain::Marks;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    constexpr char16_t kAlphabet[] = {u'a', u'b', u' ', u' ', u'\r', u'\n', u'c', u'\u00e9'};
    const std::size_t chunk = 1 + data[0] % 9;
    std::u16string texts[2];
    int side = 0;
    for (std::size_t i = 1; i < size; ++i) {
        if (data[i] == 0xFF)
            side = 1;
        else
            texts[side].push_back(kAlphabet[data[i] % std::size(kAlphabet)]);
    }
    for (int own = 0; own < 2; ++own) {
        const Text ownText = texts[own];
        const Text otherText = texts[1 - own];
        Marks whole, streamed;
        compare::ForEachUnmatchedWord(
            ownText, otherText,
            [&](std::size_t start, std::size_t length) {
                whole.push_back({start, length});
            },
            [](std::size_t) { return true; });
        if (whole != plain::PlainPass(ownText, otherText))
            std::abort();
        std::size_t ownAt = 0, otherAt = 0;
        const auto ownChunks = [&] {
            const Text next = ownText.substr(ownAt, chunk);
            ownAt += next.size();
            return next;
        };
        const auto otherChunks = [&] {
            const Text next = otherText.substr(otherAt, chunk);
            otherAt += next.size();
            return next;
        };
        compare::ForEachUnmatchedWordStreamed(ownChunks, otherChunks,
                                              [&](std::size_t start, Text word) {
                                                  streamed.push_back({start, word.size()});
                                              });
        if (streamed != whole)
            std::abort();
    }
    return 0;
}
