// The word comparison, over whole texts and over texts in chunks, against its rules written as
// plainly as they can be.
#include "FuzzInput.h"
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
    constexpr char16_t kAlphabet[] = {u'a', u'b', u' ', u' ', u'\r', u'\n', u'c', u'\u00e9'};
    const FuzzTexts input = TextsFrom(data, size, kAlphabet);
    const std::size_t chunk = input.chunk; // lambdas cannot take structured bindings in C++20
    const std::u16string(&texts)[2] = input.texts;
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
        Check(whole == plain::PlainPass(ownText, otherText));
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
        Check(streamed == whole);
    }
    return 0;
}
