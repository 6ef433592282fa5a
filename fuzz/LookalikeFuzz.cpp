// The look-alike search of lines, both directions at once and each alone, against the search
// written plainly: each red line's first look-alike among the lines that share its loose key.
#include "FuzzInput.h"
#include "MissingPieces.h"
#include "PlainLookalikes.h"
#include "compare/LineIndex.h"
#include "compare/LookalikeLines.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Characters whose loose keys collide ("1", "l" and "I"; "0", "O" and "o"; "a" and "A"), the
    // spaces and invisible characters each kind of look-alike is about, and "é" whole and in two.
    constexpr char16_t kAlphabet[] = {
        u'a',  u'A',  u'1',      u'l',      u'I',      u'0', u'O',      u'o',  u' ',  u'\t',
        u'\r', u'\n', u'\u00a0', u'\u200b', u'\u00e9', u'e', u'\u0301', u'\r', u'\n', u','};
    const auto [chunk, texts] = TextsFrom(data, size, kAlphabet);
    const compare::LineIndex first(texts[0]), second(texts[1]);
    const std::vector<compare::Piece> red1 = MissingPieces(texts[0], texts[1]);
    const std::vector<compare::Piece> red2 = MissingPieces(texts[1], texts[0]);
    const compare::LookalikeLinesOfBoth both =
        compare::FindLookalikeLinesOfBoth(first, red1, second, red2);
    Check(both.ofFirst == plain::LineLookalikes(texts[0], texts[1]));
    Check(both.ofSecond == plain::LineLookalikes(texts[1], texts[0]));
    Check(compare::FindLookalikeLines(texts[0], red1, second) == both.ofFirst);
    return 0;
}
