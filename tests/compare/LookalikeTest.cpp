#include "compare/Lookalike.h"
#include "compare/LookalikeDescription.h"
#include "compare/LookalikeForms.h"

#include <gtest/gtest.h>
#include <unicode/unistr.h>
#include <unicode/uspoof.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

using compare::ExplainLookalike;
using compare::LookalikeKind;
using compare::LookalikeKinds;

namespace {

using K = LookalikeKind;

LookalikeKinds Kinds(std::initializer_list<LookalikeKind> list) {
    LookalikeKinds kinds;
    for (LookalikeKind kind : list)
        kinds = kinds.With(kind);
    return kinds;
}

std::string Names(std::optional<LookalikeKinds> kinds) {
    if (!kinds)
        return "(none)";
    std::string names;
    for (LookalikeKind kind : compare::kLookalikeKinds)
        if (kinds->Has(kind))
            names.append(names.empty() ? "" : " ").append(compare::LookalikeKindName(kind));
    return names;
}

struct Pair {
    std::u16string a;
    std::u16string b;
    std::string kinds; // the names expected, in list order, or "(none)"
};

void ExpectExplained(const std::vector<Pair>& pairs) {
    for (const Pair& pair : pairs) {
        SCOPED_TRACE(testing::Message() << "expected " << pair.kinds);
        EXPECT_EQ(Names(ExplainLookalike(pair.a, pair.b)), pair.kinds);
        // The relation does not depend on which of the two is the red one.
        EXPECT_EQ(Names(ExplainLookalike(pair.b, pair.a)), pair.kinds);
        // Nor on whether the texts' forms were worked out beforehand.
        EXPECT_EQ(Names(ExplainLookalike(compare::LookalikeForms(pair.a),
                                         compare::LookalikeForms(pair.b))),
                  pair.kinds);
    }
}

} // namespace

TEST(LookalikeTest, EachKindAlone) {
    ExpectExplained({
        {u"abc ", u"abc", "trailing-space"},
        {u"abc\t", u"abc", "trailing-space"},
        {u"abc  \t", u"abc ", "trailing-space"},
        {u"  abc", u"abc", "leading-space"},
        {u"\t abc", u" abc", "leading-space"},
        {u"a\tb", u"a b", "inner-space"},
        {u"a   b c", u"a b  c", "inner-space"},
        {u"a\u00A0b", u"a b", "nbsp"},
        {u"1\u202F000", u"1 000", "nbsp"},
        {u"a\u2007b\u3000c", u"a b c", "nbsp"},
        {u"a\u200Bb", u"ab", "zero-width"},
        {u"\uFEFFabc", u"abc", "zero-width"},
        {u"co\u00ADop\u2060", u"coop", "zero-width"},
        {u"a\u200C\u200Db", u"ab", "zero-width"},
        {u"Hello World", u"hello world", "case"},
        {u"Stra\u00DFe", u"STRA\u1E9EE", "case"},
        {u"\u0394\u03B5\u03BB\u03C4\u03B1", u"\u03B4\u0395\u039B\u03A4\u0391", "case"},
        {u"caf\u00E9", u"cafe\u0301", "unicode-form"},
        {u"A\u030A", u"\u00C5", "unicode-form"},
        {u"\uFB01le", u"file", "compatibility"},
        {u"x\u00B2", u"x2", "compatibility"},
        {u"\uFF21\uFF22\uFF23", u"ABC", "compatibility"},
        {u"p\u0430yp\u0430l", u"paypal", "confusable"},
        {u"I1", u"ll", "confusable"},
        {u"rn", u"m", "confusable"},
        {u"\u0391\u0392\u0393", u"AB\u0413", "confusable"},
    });
}

TEST(LookalikeTest, SeveralKindsTogether) {
    ExpectExplained({
        {u"Abc ", u"abc", "trailing-space case"},
        {u"a\u00A0", u"a", "trailing-space nbsp"},
        {u" \tx\u00A0y", u"x y", "leading-space nbsp"},
        {u"  a\tb  ", u"a b", "trailing-space leading-space inner-space"},
        {u"A\u200Bb", u"ab", "zero-width case"},
        {u"\uFF28\uFF45\uFF4C\uFF4C\uFF4F", u"hello", "case compatibility"},
        {u"P\u0430yp\u0430l", u"paypal", "case confusable"},
        {u"cafe\u0301 ", u"caf\u00E9", "trailing-space unicode-form"},
        // Fewest kinds: NFKC turns the U+00A0 into a blank and composes the accent at once.
        {u"CAF\u00C9\u00A0", u"cafe\u0301", "trailing-space case compatibility"},
    });
}

TEST(LookalikeTest, RealChangesAreNotLookalikes) {
    ExpectExplained({
        {u"abc", u"abc", "(none)"},
        {u"", u"x", "(none)"},
        {u"cat", u"cut", "(none)"},
        {u"Cat", u"cut", "(none)"},
        {u"cat ", u"cut", "(none)"},
        {u"abc", u"abcd", "(none)"},
        {u"ab", u"a b", "(none)"},
        {u"1000", u"1\u00A0000", "(none)"},
        {u"end.", u"end", "(none)"},
        // Case is letter against letter: a different number of letters is a real change.
        {u"Stra\u00DFe", u"STRASSE", "(none)"},
        // A letter against its confusable, in a word that also changed.
        {u"p\u0430ypal", u"paypel", "(none)"},
        {u"p\u0430ypal ", u"paypel", "(none)"},
        // An accent is a real change, not a form of the same letter.
        {u"caf\u00E9", u"cafe", "(none)"},
        {u"r\u00E9sum\u00E9", u"resume", "(none)"},
    });
}

// Where several kinds would each explain the difference alone, the earliest in the list is named.
TEST(LookalikeTest, EarliestSingleKindIsNamed) {
    // Both drop the blank; the normal forms and the skeleton also map U+00A0 to a blank, and also
    // compose or decompose; the skeleton also covers the ligature.
    ExpectExplained({
        {u" ", u"", "trailing-space"},
        {u"a\u00A0b", u"a b", "nbsp"},
        {u"cafe\u0301", u"caf\u00E9", "unicode-form"},
        {u"\uFB01", u"fi", "compatibility"},
        // The Angstrom sign folds to the same letter as the A with ring above.
        {u"\u212B", u"\u00C5", "case"},
    });
    const LookalikeKinds both = Kinds({K::TrailingSpace, K::LeadingSpace});
    EXPECT_EQ(compare::RemoveLookalikeDifferences(both, u" "),
              compare::RemoveLookalikeDifferences(both, u""));
    for (LookalikeKind kind : {K::Nbsp, K::Compatibility})
        EXPECT_EQ(compare::RemoveLookalikeDifferences(kind, u"a\u00A0b"), u"a b");
    for (LookalikeKind kind : {K::UnicodeForm, K::Compatibility, K::Confusable})
        EXPECT_EQ(compare::RemoveLookalikeDifferences(kind, u"cafe\u0301"),
                  compare::RemoveLookalikeDifferences(kind, u"caf\u00E9"));
}

TEST(LookalikeTest, KindsAreRemovedInTheirFixedOrder) {
    struct Case {
        LookalikeKinds kinds;
        std::u16string text;
        std::u16string expected;
    };
    const std::vector<Case> cases{
        {Kinds({K::TrailingSpace}), u" a \t", u" a"},
        {Kinds({K::LeadingSpace}), u" \ta ", u"a "},
        {Kinds({K::InnerSpace}), u" a \t b  c ", u" a b c "},
        {Kinds({K::InnerSpace}), u"  ", u"  "},
        {Kinds({K::Nbsp}), u"\u00A0a\u2009", u" a "},
        {Kinds({K::ZeroWidth}), u"\u200Ba\u00AD", u"a"},
        {Kinds({K::Case}), u"AbC", u"abc"},
        // The special space becomes a blank before the blanks at the end are dropped.
        {Kinds({K::Nbsp, K::TrailingSpace}), u"a\u00A0", u"a"},
        {Kinds({K::Case, K::TrailingSpace}), u"AB ", u"ab"},
        // Dropping a zero-width character first lets the runs around it join.
        {Kinds({K::ZeroWidth, K::InnerSpace}), u"a \u200B b", u"a b"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(compare::RemoveLookalikeDifferences(c.kinds, c.text), c.expected);
    for (LookalikeKind kind : compare::kLookalikeKinds)
        EXPECT_FALSE(compare::RemoveLookalikeDifference(kind, u"").has_value())
            << compare::LookalikeKindName(kind);
}

TEST(LookalikeDescriptionTest, TellsEachKindWithTheCodePoints) {
    struct Case {
        LookalikeKinds kinds;
        std::u16string own;
        std::u16string other;
        std::string expected;
    };
    const std::vector<Case> cases{
        {Kinds({K::TrailingSpace}), u"abc ", u"abc", "trailing space (U+0020 at the end)"},
        {Kinds({K::TrailingSpace}), u"abc", u"abc\t", "trailing space (U+0009 at the end)"},
        {Kinds({K::TrailingSpace}), u"abc \t", u"abc",
         "trailing space (U+0020 and U+0009 at the end)"},
        {Kinds({K::LeadingSpace}), u"  abc", u"abc", "leading space (U+0020 at the start)"},
        {Kinds({K::InnerSpace}), u"a\tb", u"a b",
         "inner space (U+0009 where the other has U+0020)"},
        {Kinds({K::InnerSpace}), u"a b", u"a\tb",
         "inner space (U+0020 where the other has U+0009)"},
        {Kinds({K::InnerSpace}), u"a  b", u"a b",
         "inner space (runs of blanks of different length)"},
        {Kinds({K::Nbsp}), u"a\u00A0b", u"a b", "nbsp (U+00A0 where the other has U+0020)"},
        {Kinds({K::Nbsp}), u"a b", u"a\u202Fb", "nbsp (U+0020 where the other has U+202F)"},
        {Kinds({K::ZeroWidth}), u"a\u200Bb", u"ab",
         "zero-width character (U+200B that the other lacks)"},
        {Kinds({K::ZeroWidth}), u"ab", u"a\uFEFFb",
         "zero-width character (the other has U+FEFF here)"},
        {Kinds({K::Case}), u"Abc", u"abc", "letter case"},
        {Kinds({K::Compatibility}), u"\uFB01le", u"file",
         "compatibility form (U+FB01 where the other has U+0066 U+0069)"},
        {Kinds({K::Confusable}), u"p\u0430y", u"pay",
         "confusable character (U+0430 where the other has U+0061)"},
        {Kinds({K::UnicodeForm}), u"caf\u00E9", u"cafe\u0301",
         "Unicode form (U+00E9 where the other has U+0065 U+0301)"},
        // Each kind is shown with the others already removed.
        {Kinds({K::TrailingSpace, K::Case}), u"Abc ", u"abc",
         "trailing space (U+0020 at the end), letter case"},
        {Kinds({K::Case, K::Confusable}), u"P\u0430y", u"pay",
         "letter case, confusable character (U+0430 where the other has U+0061)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(compare::DescribeLookalike(c.kinds, c.own, c.other), c.expected);
}

// The skeleton of ASCII text is made from a table of its characters' prototypes; it must be what
// ICU makes of the whole text, whatever the characters.
TEST(LookalikeTest, SkeletonOfAsciiIsIcusSkeleton) {
    UErrorCode status = U_ZERO_ERROR;
    USpoofChecker* checker = uspoof_open(&status);
    ASSERT_TRUE(U_SUCCESS(status));
    std::mt19937 random(5);
    for (int round = 0; round < 2000; ++round) {
        std::u16string text;
        for (auto length = random() % 12; length > 0; --length)
            text += static_cast<char16_t>(round < 128 ? round : random() % 128);
        icu::UnicodeString skeleton;
        uspoof_getSkeletonUnicodeString(
            checker, 0, icu::UnicodeString(false, text.data(), static_cast<int32_t>(text.size())),
            skeleton, &status);
        const std::u16string expected(skeleton.getBuffer(),
                                      static_cast<std::size_t>(skeleton.length()));
        EXPECT_EQ(
            compare::RemoveLookalikeDifference(LookalikeKind::Confusable, text).value_or(text),
            expected)
            << "round " << round;
    }
    uspoof_close(checker);
}
