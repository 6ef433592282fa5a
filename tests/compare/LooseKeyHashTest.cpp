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

// The sum of a line kept as UTF-8 bytes is the sum of the same line as UTF-16: ASCII in runs long
// enough to be taken sixteen at a time and cut by a character of two, three or four bytes
// anywhere in such a run, and characters with several atoms or none.
TEST(LooseKeyHashTest, SumOfUtf8IsTheSumOfTheSameText) {
    struct BothForms {
        std::string_view utf8;
        std::u16string_view utf16;
    };
    constexpr BothForms kBothForms[] = {{"a", u"a"},
                                        {"Q", u"Q"},
                                        {"0", u"0"},
                                        {"O", u"O"},
                                        {"rn", u"rn"},
                                        {"m", u"m"},
                                        {"l", u"l"},
                                        {"1", u"1"},
                                        {" ", u" "},
                                        {"\t", u"\t"},
                                        {"\x7F", u"\x7F"},
                                        {"sixteen units or more", u"sixteen units or more"},
                                        {"\xC3\xA9", u"\u00E9"},
                                        {"e\xCC\x81", u"e\u0301"},
                                        {"\xEF\xAC\x81", u"\uFB01"},
                                        {"\xD0\xB0", u"\u0430"},
                                        {"\xF0\x9D\x90\x80", u"\U0001D400"},
                                        {"\xE2\x80\x8B", u"\u200B"},
                                        {"\xC2\xA0", u"\u00A0"},
                                        {"\xEF\xBC\xA1", u"\uFF21"},
                                        {"\xC3\x9F", u"\u00DF"},
                                        {"\xF0\x9F\x98\x80", u"\U0001F600"}};
    std::mt19937 random(8);
    for (int round = 0; round < 3000; ++round) {
        std::string utf8;
        std::u16string utf16;
        for (int pieces = static_cast<int>(random() % 40); pieces > 0; --pieces) {
            const BothForms& piece = kBothForms[random() % std::size(kBothForms)];
            utf8 += piece.utf8;
            utf16 += piece.utf16;
        }
        ASSERT_EQ(compare::LooseKeySum(std::string_view(utf8)),
                  compare::LooseKeySum(std::u16string_view(utf16)))
            << "round " << round << ": " << utf8;
    }
    // ASCII texts of every length up to a few words, and each with a character of two bytes at
    // every place: every way the last eight bytes can stand.
    for (std::size_t length = 0; length <= 40; ++length) {
        std::string utf8;
        for (std::size_t i = 0; i < length; ++i)
            utf8 += static_cast<char>(random() % 128);
        const std::u16string utf16(utf8.begin(), utf8.end());
        ASSERT_EQ(compare::LooseKeySum(std::string_view(utf8)),
                  compare::LooseKeySum(std::u16string_view(utf16)))
            << "length " << length;
        for (std::size_t at = 0; at <= length; ++at) {
            const std::string mixed = utf8.substr(0, at) + "\xC3\xA9" + utf8.substr(at);
            const std::u16string mixed16 = utf16.substr(0, at) + u"\u00E9" + utf16.substr(at);
            ASSERT_EQ(compare::LooseKeySum(std::string_view(mixed)),
                      compare::LooseKeySum(std::u16string_view(mixed16)))
                << "length " << length << ", at " << at;
        }
    }
    // Every byte of ASCII, in and out of a run of sixteen.
    for (int byte = 0; byte < 128; ++byte) {
        for (const std::size_t length : {std::size_t{1}, std::size_t{8}, std::size_t{17}}) {
            const std::string utf8(length, static_cast<char>(byte));
            const std::u16string utf16(length, static_cast<char16_t>(byte));
            ASSERT_EQ(compare::LooseKeySum(std::string_view(utf8)),
                      compare::LooseKeySum(std::u16string_view(utf16)))
                << byte << " times " << length;
        }
    }
}
