#include "compare/LooseKey.h"
#include "PlainComparisons.h"
#include "compare/Lookalike.h"
#include "compare/LookalikeForms.h"

#include <gtest/gtest.h>
#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <random>
#include <string>
#include <vector>

using compare::LookalikeKinds;
using compare::LooseKey;

namespace {

std::u16string KeyOf(std::u16string_view text) {
    std::u16string scratch;
    return std::u16string(LooseKey(text, scratch));
}

// Characters that the kinds of look-alike treat specially, with plain ones among them: ASCII,
// spaces, zero-width characters, letters with case, composed and decomposed letters, ligatures,
// full-width and superscript forms, confusables from other scripts, a character outside the BMP.
constexpr std::u16string_view kTricky[] = {
    u"a",          u"b",          u"m",      u"r",      u"n",      u"l",      u"I",      u"1",
    u"0",          u"O",          u"o",      u"A",      u"S",      u"s",      u" ",      u"\t",
    u"\u00A0",     u"\u2007",     u"\u202F", u"\u3000", u"\u200B", u"\u00AD", u"\uFEFF", u"\u00DF",
    u"\u00E9",     u"\u0301",     u"\u0323", u"\u00C5", u"\u212B", u"\uFB01", u"\uFB00", u"\u00B2",
    u"\uFF21",     u"\uFF41",     u"\u0430", u"\u0410", u"\u03B2", u"\u0392", u"\u0399", u"\u03B9",
    u"\u0131",     u"\u0130",     u"\u1E9E", u"\u017F", u"\u2160", u"\uAC00", u"\u1100", u"\u3131",
    u"\U0001D400", u"\U0001F600", u".",      u",",      u"-",      u"\u2010", u"\u2212",
};

std::u16string RandomText(std::mt19937& random) {
    std::u16string text;
    for (int length = static_cast<int>(random() % 8); length > 0; --length)
        text += kTricky[random() % std::size(kTricky)];
    return text;
}

} // namespace

// What makes the key safe to search by: removing any set of kinds never changes it, so two
// look-alikes always have the same key.
TEST(LooseKeyTest, NoSetOfKindsChangesTheKey) {
    std::mt19937 random(7);
    for (int round = 0; round < 4000; ++round) {
        const std::u16string text = RandomText(random);
        const auto kinds = LookalikeKinds::FromBits(static_cast<std::uint16_t>(random() % 512));
        const std::u16string removed = compare::RemoveLookalikeDifferences(kinds, text);
        ASSERT_EQ(KeyOf(text), KeyOf(removed)) << "round " << round;
    }
}

TEST(LooseKeyTest, LookalikesShareTheirKey) {
    std::mt19937 random(8);
    int found = 0;
    for (int round = 0; round < 3000; ++round) {
        const std::u16string a = RandomText(random);
        std::u16string b = a;
        // Swap one piece for another: sometimes that makes a look-alike, mostly a real change.
        if (!b.empty())
            b.replace(random() % b.size(), 1, kTricky[random() % std::size(kTricky)]);
        if (compare::ExplainLookalike(a, b)) {
            ++found;
            EXPECT_EQ(KeyOf(a), KeyOf(b));
        }
    }
    EXPECT_GT(found, 100);
}

// The key of a text is its pieces' keys one after the other, whether a piece takes the quick
// way for ASCII or the table's.
TEST(LooseKeyTest, KeyOfATextIsTheKeysOfItsCharacters) {
    std::mt19937 random(9);
    for (int round = 0; round < 500; ++round) {
        std::u16string text;
        std::u16string expected;
        for (int length = static_cast<int>(random() % 40); length > 0; --length) {
            const std::u16string_view piece = kTricky[random() % std::size(kTricky)];
            text += piece;
            expected += KeyOf(piece);
        }
        EXPECT_EQ(KeyOf(text), expected);
    }
    // A lone surrogate stands for itself.
    EXPECT_EQ(KeyOf(u"a\xD800"), KeyOf(u"a") + u"\xD800");
}

TEST(LooseKeyTest, RealChangesUsuallyChangeTheKey) {
    for (auto [a, b] : {std::pair<std::u16string_view, std::u16string_view>{u"cat", u"dog"},
                        {u"the quick brown fox", u"the quick red fox"},
                        {u"abc", u"abcd"},
                        {u"x = 1;", u"x = 2;"}})
        EXPECT_NE(KeyOf(a), KeyOf(b));
    EXPECT_EQ(KeyOf(u" \t\u00A0\u200B"), u"");
}

// The key is made a character at a time, so that what holds of every character holds of every
// text: no kind of look-alike difference, removed from any one character, alone or between
// others, changes its key. Checked for every character Unicode assigns.
TEST(LooseKeyTest, NoKindChangesTheKeyOfAnyCharacter) {
    std::size_t changed = 0;
    for (UChar32 c = 0; c <= 0x10FFFF; ++c) {
        if (U_IS_SURROGATE(c) || u_charType(c) == U_UNASSIGNED)
            continue;
        char16_t units[2];
        std::size_t length = 0;
        U16_APPEND_UNSAFE(units, length, c);
        const std::u16string text(units, length);
        std::u16string between(1, u'a');
        between.append(units, length);
        between.push_back(u'\u0301');
        between.push_back(u'b');
        for (const std::u16string& context : {text, between})
            for (const compare::LookalikeKind kind : compare::kLookalikeKinds)
                if (const auto removed = compare::RemoveLookalikeDifference(kind, context);
                    removed && KeyOf(*removed) != KeyOf(context)) {
                    ADD_FAILURE() << "U+" << std::hex << c << " under kind "
                                  << compare::LookalikeKindName(kind);
                    if (++changed == 10)
                        return;
                }
    }
}
