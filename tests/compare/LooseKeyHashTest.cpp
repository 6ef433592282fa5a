#include "compare/LooseKey.h"

#include <gtest/gtest.h>

#include <algorithm>
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
        // Each word of the text, found and keyed in one pass, from every place a word begins.
        for (std::size_t from = 0; from <= text.size(); from = text.find(u' ', from) + 1) {
            const std::size_t blank = std::min(text.find(u' ', from), text.size());
            const std::u16string_view word = std::u16string_view(text).substr(from, blank - from);
            const compare::KeyedWord keyed =
                compare::LooseKeyHashOfWord(text, from, text.size(), text.size());
            ASSERT_EQ(keyed.end, blank) << "round " << round;
            ASSERT_EQ(keyed.keyHash, compare::LooseKeyHash(word)) << "round " << round;
            if (blank == text.size())
                break;
        }
    }
}

// A word longer than the units asked for is found but not keyed; one as long is keyed.
TEST(LooseKeyHashTest, WordsTooLongAreFoundButNotKeyed) {
    const std::u16string text = u"x abcd\u00E9f y";
    for (const std::size_t most : {std::size_t{6}, std::size_t{5}}) {
        const compare::KeyedWord keyed = compare::LooseKeyHashOfWord(text, 2, text.size(), most);
        EXPECT_EQ(keyed.end, 8u);
        EXPECT_EQ(keyed.keyHash.has_value(), most == 6) << most;
    }
    EXPECT_EQ(compare::LooseKeyHashOfWord(text, 9, 10, 1).keyHash, compare::LooseKeyHash(u"y"));
    EXPECT_EQ(compare::LooseKeyHashOfWord(text, 9, 9, 0).end, 9u) << "an empty word at the end";
}
