#include "compare/LooseKey.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

// A line's loose key hash and sum, worked out without the key, are the hash and sum of its key:
// plain ASCII, blanks that leave no trace, characters with several atoms or none, pairs of
// surrogates and lone ones.
TEST(LooseKeyHashTest, IsTheHashOfTheKey) {
    constexpr std::u16string_view kPieces[] = {u"a",
                                               u"Q",
                                               u"7",
                                               u" ",
                                               u"\t",
                                               u"\u00E9",
                                               u"e\u0301",
                                               u"\uFB01",
                                               u"\u0430",
                                               u"\U0001D400",
                                               u"\u200B",
                                               std::u16string_view(u"\xD800", 1),
                                               std::u16string_view(u"\xDC00", 1),
                                               u"\u00A0",
                                               u"\uFF21",
                                               u"\u00DF",
                                               u"long words here"};
    std::mt19937 random(5);
    for (int round = 0; round < 2000; ++round) {
        std::u16string text;
        for (int pieces = static_cast<int>(random() % 30); pieces > 0; --pieces)
            text += kPieces[random() % std::size(kPieces)];
        std::u16string scratch;
        const std::u16string_view key = compare::LooseKey(text, scratch);
        ASSERT_EQ(compare::LooseKeyHash(text), compare::KeyHash(key)) << "round " << round;
        ASSERT_EQ(compare::LooseKeySum(text), compare::KeySum(key)) << "round " << round;
    }
}
