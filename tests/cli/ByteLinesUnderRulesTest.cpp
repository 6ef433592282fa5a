// The line comparison on bytes under the rules about blanks, tabs and case, masks and
// ignore-matching against the comparison of the decoded texts: for every pair of ASCII files the
// report and the status must be the same byte for byte, and whatever else the rules or the files
// ask for must be left to the general comparison untouched.
#include "BytesAgainstGeneral.h"
#include "FileIn.h"
#include "PrintedRun.h"
#include "ReportForm.h"
#include "SanitizedRounds.h"
#include "cli/ByteLineComparison.h"
#include "cli/ByteMaskKey.h"
#include "cli/ByteRuleKey.h"
#include "cli/CliComparison.h"
#include "cli/RuleChangeMap.h"

#include "compare/RuleText.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <random>

using namespace Qt::StringLiterals;
using compare::LookalikeKind;
using compare::LookalikeKinds;

namespace {

constexpr LookalikeKinds kTrailing(LookalikeKind::TrailingSpace);
constexpr LookalikeKinds kLeading(LookalikeKind::LeadingSpace);
constexpr LookalikeKinds kInner(LookalikeKind::InnerSpace);
constexpr LookalikeKinds kCase(LookalikeKind::Case);

LookalikeKinds Both(LookalikeKinds one, LookalikeKinds two) {
    return LookalikeKinds::FromBits(one.Bits() | two.Bits());
}

struct RuleSet {
    const char* name;
    LookalikeKinds kinds;
};

// Each kind alone, the short forms (-i, -Z, -b, -w) and some of them together.
const RuleSet kRuleSets[] = {
    {"trailing-space (-Z)", kTrailing},
    {"leading-space", kLeading},
    {"inner-space", kInner},
    {"case (-i)", kCase},
    {"-b", Both(kTrailing, kInner)},
    {"all-space (-w)", Both(Both(kTrailing, kLeading), kInner)},
    {"-w -i", Both(Both(Both(kTrailing, kLeading), kInner), kCase)},
    {"-b -i", Both(Both(kTrailing, kInner), kCase)},
    {"leading-space, case", Both(kLeading, kCase)},
    {"leading and inner", Both(kLeading, kInner)},
};

// Masks and ignore-matching, alone, together, and beside the kinds.
struct ExpressionSet {
    const char* name;
    LookalikeKinds kinds;
    std::vector<std::u16string> masks;
    std::optional<std::u16string> ignoreMatching = std::nullopt;
};

const ExpressionSet kExpressionSets[] = {
    {"a mask", {}, {u"[0-9]+"}},
    {"masks whose matches overlap", {}, {u"[0-9]+", u"b[0-9]", u"9z"}},
    {"a mask, -i", kCase, {u"[0-9]+"}},
    {"a mask of letters, -w", Both(Both(kTrailing, kLeading), kInner), {u"[a-z]+"}},
    {"a mask, -w -i", Both(Both(Both(kTrailing, kLeading), kInner), kCase), {u"[0-9]"}},
    {"a mask of tabs and of blanks before a capital, -b",
     Both(kTrailing, kInner),
     {u"\t", u" (?=[A-Z])"}},
    {"masks of digits and of capitals, -i", kCase, {u"[0-9]+", u"[A-Z]"}},
    {"a mask that matches nothing", {}, {u"(?!)"}},
    {"a mask that matches every line whole", {}, {u".*"}},
    {"a mask that matches an empty string at every place", {}, {u"q*"}},
    {"masks at the ends of a line, -Z", kTrailing, {u"^ +", u"[0-9]$"}},
    {"ignore-matching", {}, {}, u"[0-9]"},
    {"ignore-matching, -i", kCase, {}, u"^a"},
    {"ignore-matching of an empty string", {}, {}, u""},
    {"ignore-matching and a mask, -b", Both(kTrailing, kInner), {u"[0-9]+"}, u"b$"},
};

using Form = ReportForm;
// --explain asks for nothing more with --count or -q.
constexpr Form kForms[] = {{"readable"},
                           {"numbered", false, true},
                           {"count", false, false, true},
                           {"quiet", false, false, false, true},
                           {"count, explain", false, false, true, false, false, true},
                           {"quiet, explain", false, false, false, true, false, true}};

compare::ComparisonRules Rules(LookalikeKinds kinds) {
    compare::RuleChoice choice;
    choice.kinds = kinds;
    return compare::ComparisonRules(choice);
}

compare::ComparisonRules Rules(const ExpressionSet& set) {
    compare::RuleChoice choice;
    choice.kinds = set.kinds;
    choice.masks = set.masks;
    choice.ignoreMatching = set.ignoreMatching;
    return compare::ComparisonRules(choice);
}

// Every rule set, named.
std::vector<std::pair<std::string, compare::ComparisonRules>> AllRuleSets() {
    std::vector<std::pair<std::string, compare::ComparisonRules>> all;
    for (const RuleSet& set : kRuleSets)
        all.emplace_back(set.name, Rules(set.kinds));
    for (const ExpressionSet& set : kExpressionSets)
        all.emplace_back(set.name, Rules(set));
    return all;
}

class ByteLinesUnderRulesTest : public ::testing::Test {
protected:
    CliOptions Options(const QByteArray& first, const QByteArray& second) {
        CliOptions options;
        options.file1 = QFile::encodeName(WriteFileIn(dir_, u"one.txt"_s, first));
        options.file2 = QFile::encodeName(WriteFileIn(dir_, u"two.txt"_s, second));
        return options;
    }

    // Under every rule set (or `kindsOnly`, those without expressions), loaded and exact, in
    // every form the comparison on bytes serves.
    // With a `stride` above one, only every stride-th of the runs (rule set, exact or not, form),
    // from the `offset`-th on: random rounds share out the runs between them.
    void ExpectSame(const QByteArray& first, const QByteArray& second, const std::string& what,
                    bool kindsOnly = false, int stride = 1, int offset = 0) {
        CliOptions options = Options(first, second);
        static const auto sets = AllRuleSets();
        int run = 0;
        for (const auto& [name, rules] : sets) {
            if (kindsOnly && (rules.HasMasks() || rules.HasIgnoreMatching()))
                continue;
            options.rules = rules;
            for (const bool exact : {false, true}) {
                for (const Form& form : kForms) {
                    if (run++ % stride != offset % stride)
                        continue;
                    options.exact = exact;
                    form.ApplyTo(options);
                    const std::string named =
                        what + ", " + name + (exact ? ", exact, " : ", ") + form.name;
                    // An exact text keeps its byte-order mark, which is no ASCII; an empty file
                    // is not mapped.
                    const bool marked =
                        first.startsWith("\xEF\xBB\xBF") || second.startsWith("\xEF\xBB\xBF");
                    const bool taken = !(exact && marked) && !first.isEmpty() && !second.isEmpty();
                    ASSERT_TRUE(BytesAsGeneral(options, taken)) << named;
                }
            }
        }
    }

    QTemporaryDir dir_;
};

// Lines made of words with capitals, blanks and tabs at the start, the end and in between, runs
// of them and lines of nothing else, drawn from a small stock so that lines repeat and many meet
// their like under some rule.
QByteArray RandomLine(std::mt19937& random) {
    static const char* const parts[] = {"a",  "B",    "ab", "Ab", "AB", " ",  "  ",
                                        "\t", " \t ", "z",  "1",  "29", "b1", "9z"};
    QByteArray line;
    for (int i = static_cast<int>(random() % 6); i > 0; --i)
        line.append(parts[random() % std::size(parts)]);
    return line;
}

QByteArray RandomText(std::mt19937& random, const std::vector<QByteArray>& stock) {
    static const char* const breaks[] = {"\n", "\r\n", "\r", "\n", "\r\n"};
    QByteArray bytes = random() % 6 == 0 ? "\xEF\xBB\xBF" : "";
    for (int i = static_cast<int>(random() % 14) + 1; i > 0; --i) {
        bytes.append(stock[random() % stock.size()]);
        if (i > 1 || random() % 3 != 0) // now and then no final break
            bytes.append(breaks[random() % std::size(breaks)]);
    }
    return bytes;
}

} // namespace

TEST_F(ByteLinesUnderRulesTest, RandomAsciiTextsGiveTheReportOfTheDecodedTexts) {
    std::mt19937 random(20);
    // Each round makes a third of the runs: every one is made in twenty of the sixty rounds (in
    // ten of thirty under a sanitizer).
    for (int round = 0; round < Rounds(60); ++round) {
        std::vector<QByteArray> stock(6);
        for (QByteArray& line : stock)
            line = RandomLine(random);
        const QByteArray first = RandomText(random, stock);
        const QByteArray second = round % 12 == 0 ? first : RandomText(random, stock);
        ExpectSame(first, second, "round " + std::to_string(round), false, 3, round);
    }
}

TEST_F(ByteLinesUnderRulesTest, ChosenPairsGiveTheReportOfTheDecodedTexts) {
    const QByteArray longLine = QByteArray(40, 'x') + "  \t " + QByteArray(30, 'Y') + " ";
    // Longer than the marks the cutting keeps: such a line is keyed whatever they said.
    const QByteArray hugeLine = "A" + QByteArray(300000, 'b') + " c";
    // Lines alike on both sides, more than are looked up at once.
    QByteArray alike;
    for (int i = 0; i < 100; ++i)
        alike += "line " + QByteArray::number(i) + "\n";
    const struct {
        const char* what;
        QByteArray first;
        QByteArray second;
        bool kindsOnly = false;
    } pairs[] = {
        {"blank lines against the empty piece after the last break", "a\n  \n\t\n", "a\n"},
        {"a line of blanks against an empty line", "a\n \t \nb", "a\n\nb\n"},
        {"runs across blocks of sixteen", longLine + "\n", longLine.toLower() + "\n"},
        {"runs where a block ends", "abcdefghijklmno  p\nabcdefghijklmnop \tq\n",
         "abcdefghijklmno p\nabcdefghijklmnop q\n"},
        {"capitals at the edges of the letters", "@[`{AZ\n", "@[`{az\n"},
        {"other control bytes are no blanks", "a\vb\fc\n", "a b c\n"},
        {"a NUL byte", QByteArray("A\0 b\n", 5), QByteArray("a\0b\n", 4)},
        {"lone CR and LF in exact text", "a \r\nb\n \rc", "a\r\nb\n\rC"},
        // What matching such a line may take is more than the bound leaves (see below).
        {"a line longer than the marks kept", "x\n" + hugeLine + "\ny\n",
         hugeLine.toLower() + "\ny\n" + hugeLine.mid(1), true},
        {"lines equal only through a mask", "v1 a\nv2 b\nc\n", "v22 a\nv b\nc\n"},
        {"digits at the ends of lines and of the text", "1a\r\nb2\r\n3", "9a\nb29\n \t4"},
        {"a line keyed from its bytes as another is, which a mask matches", "a b\nc\n",
         "a\tb\nc\n"},
        // The masked lines match at once; the line keyed from its bytes as "ab" is, far below, is
        // masked under a mask of capitals.
        {"a masked line matched before the others are read", "n1\n" + alike + "ab\n",
         "n2\n" + alike + "aB\n"},
        {"a line of digits against an empty line", "12\n\nx\n", "\n345\nx"},
        {"a placeholder's neighbours under the kinds", "A 1 \t b\n 7Z\n", "a 2 b\n9z \n"},
        {"a long line equal through a mask", longLine + "123\n", longLine + "45\n"},
    };
    // Under a sanitizer each pair makes a share of the runs, in turn.
    for (std::size_t i = 0; i < std::size(pairs); ++i)
        ExpectSame(pairs[i].first, pairs[i].second, pairs[i].what, pairs[i].kindsOnly, kRoundShare,
                   static_cast<int>(i));
}

// The keys on bytes against those of the decoded lines, on lines long enough to cross the blocks
// the key is made in at every offset.
TEST(ByteRuleKeyTest, KeysAreThoseOfTheDecodedLines) {
    std::mt19937 random(7);
    static const char* const parts[] = {"a", "Q", "Zz", " ", "  ", "\t", "@", "[", "~", "\x01"};
    for (const RuleSet& set : kRuleSets) {
        ByteRuleKey key(set.kinds);
        compare::RuleText text(Rules(set.kinds));
        for (int round = 0; round < 400; ++round) {
            std::string line;
            for (int i = static_cast<int>(random() % 40); i > 0; --i)
                line += parts[random() % std::size(parts)];
            bool changed = false;
            const std::string_view made = key.Of(line, changed);
            const std::u16string units(line.begin(), line.end());
            const std::u16string_view expected = text.Key(units);
            ASSERT_EQ(std::u16string(made.begin(), made.end()), expected)
                << set.name << " '" << line << "'";
            EXPECT_EQ(changed, made != line) << set.name << " '" << line << "'";
        }
    }
}

// A line that a mask matches has the key the decoded comparison makes of it, and one that none
// matches is told apart, as its key is made from its bytes: the first match found stands for all.
TEST(ByteMaskKeyTest, MaskedKeysAreThoseOfTheDecodedLines) {
    std::mt19937 random(11);
    static const char* const parts[] = {"a", "Q", "1", "22", " ", "  ", "\t", "b2", "~"};
    for (const ExpressionSet& set : kExpressionSets) {
        if (set.masks.empty())
            continue;
        const compare::ComparisonRules rules = Rules(set);
        ByteMaskKey key(rules);
        compare::RuleText text(rules);
        for (int round = 0; round < 300; ++round) {
            std::string line;
            for (int i = static_cast<int>(random() % 12); i > 0; --i)
                line += parts[random() % std::size(parts)];
            const std::u16string units(line.begin(), line.end());
            const bool masked = text.Masked(units) != units;
            const std::u16string expected(text.Key(units));
            const std::optional<std::u16string_view> made = key.MaskedKeyOf(line);
            ASSERT_EQ(made.has_value(), masked) << set.name << " '" << line << "'";
            if (made) {
                EXPECT_EQ(std::u16string(*made), expected) << set.name << " '" << line << "'";
            }
        }
    }
}

// A line whose bytes the map leaves unmarked must be its own key: every stretch from the start
// or a break to a break or the end, in texts long enough to cross many words of the map, under
// every rule set.
TEST(RuleChangeMapTest, UnmarkedLinesAreTheirOwnKeys) {
    std::mt19937 random(9);
    static const char* const parts[] = {"a", "Q", "Zz", " ", "  ", "\t", "\r", "\n", "\r\n", "@"};
    for (int round = 0; round < 40; ++round) {
        std::string text;
        for (int i = static_cast<int>(random() % 120); i > 0; --i)
            text += parts[random() % std::size(parts)];
        std::vector<std::size_t> starts{0}, ends;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' || text[i] == '\n') {
                starts.push_back(i + 1);
                ends.push_back(i);
            }
        }
        ends.push_back(text.size());
        for (const RuleSet& set : kRuleSets) {
            RuleChangeMap map(text, set.kinds);
            // Marked in parts, as the cutting asks for them.
            for (std::size_t to = 0; to < text.size(); to += 1 + random() % 100)
                map.MarkThrough(to);
            map.MarkThrough(text.size());
            ByteRuleKey key(set.kinds);
            for (const std::size_t from : starts) {
                for (const std::size_t to : ends) {
                    if (to < from || map.AnyIn(from, to))
                        continue;
                    const std::string_view line(text.data() + from, to - from);
                    bool changed = false;
                    EXPECT_EQ(key.Of(line, changed), line) << set.name << " '" << line << "'";
                    EXPECT_FALSE(changed) << set.name << " '" << line << "'";
                }
            }
        }
    }
}

// Files or options that need more than the rules on bytes give are left to the general
// comparison, which prints what it always has.
TEST_F(ByteLinesUnderRulesTest, WhatItDoesNotServeIsLeftToTheGeneralComparison) {
    const auto withKinds = [](LookalikeKinds kinds) { return Rules(kinds); };
    const compare::ComparisonRules masked = Rules(ExpressionSet{"", kCase, {u"[0-9]+"}});
    const compare::ComparisonRules ignoring = Rules(ExpressionSet{"", kCase, {}, u"^#"});
    // ICU's matching runs out of room on such a line: the general comparison says so.
    const compare::ComparisonRules tooDeep = Rules(ExpressionSet{"", {}, {u"(a|b)*c"}});
    const QByteArray deepLine = "A b\n" + QByteArray(200000, 'a') + "\n";
    const struct {
        const char* what;
        QByteArray first;
        compare::ComparisonRules rules;
        bool json = false;
        bool explain = false;
        std::optional<qint64> memory;
    } rows[] = {
        {"a non-ASCII line", "Caf\xC3\xA9\nA b\n", withKinds(kCase), false, false, {}},
        {"--json", "A b\n", withKinds(kCase), true, false, {}},
        {"--explain", "A b\n", withKinds(kCase), false, true, {}},
        {"a mask on a non-ASCII line", "A 1\n\xC3\xA9\n", masked, false, false, {}},
        {"a mask, --json", "A 1\n", masked, true, false, {}},
        {"ignore-matching, --explain", "# A\n", ignoring, false, true, {}},
        {"a mask that cannot be matched against a line", deepLine, tooDeep, false, false, {}},
        {"ignore-matching that cannot be matched against a line",
         deepLine,
         Rules(ExpressionSet{"", {}, {}, u"(a|b)*c"}),
         false,
         false,
         {}},
        {"a kind that is not about blanks or case",
         "A\xC2\xA0"
         "b\n",
         withKinds(LookalikeKinds(LookalikeKind::Nbsp).With(LookalikeKind::Case)),
         false,
         false,
         {}},
        {"too little memory", "A b\n", withKinds(kCase), false, false, qint64{1} << 20},
        // Each match may be an empty one, at every place of the line: room for them all.
        {"a line whose matches would not fit",
         "A b\n" + QByteArray(1000000, 'x') + "\n",
         masked,
         false,
         false,
         {}},
    };
    for (const auto& row : rows) {
        CliOptions options = Options(row.first, "a b\nc\n");
        options.rules = row.rules;
        options.json = row.json;
        options.explain = row.explain;
        options.memoryBytes = row.memory;
        std::optional<int> asBytes, general, run;
        EXPECT_TRUE(
            Printed([&](std::FILE* out) { return CompareLinesAsBytes(options, out); }, asBytes)
                .isEmpty())
            << row.what;
        EXPECT_FALSE(asBytes.has_value()) << row.what;
        const QByteArray expected =
            Printed([&](std::FILE* out) { return RunGeneralComparison(options, out); }, general);
        EXPECT_EQ(Printed([&](std::FILE* out) { return RunCliComparison(options, out); }, run),
                  expected)
            << row.what;
        EXPECT_EQ(run, general) << row.what;
    }
}

// The keys of the missing lines take room a line beside the comparison: files whose lines fit
// without them, but not with them, are left to the general comparison before anything is written.
TEST_F(ByteLinesUnderRulesTest, KeysThatWouldNotFitAreLeftToTheGeneralComparison) {
    constexpr int kLines = 100000;
    QByteArray first, second;
    for (int i = 0; i < kLines; ++i) {
        first += "Line " + QByteArray::number(i) + "\n";
        second += "line " + QByteArray::number(i + kLines) + "\n";
    }
    CliOptions options = Options(first, second);
    // Beside the run, the files and their maps: room for the lines (about 4 MB a side), not for
    // the keys of all of them as well (about 3.5 MB a side).
    const qint64 files = first.size() + second.size();
    options.memoryBytes = (qint64{32} << 20) + files + files / 8 + (qint64{11} << 20);
    const compare::ComparisonRules ruleSets[] = {
        {}, Rules(kCase), Rules(ExpressionSet{"", {}, {u"[0-9]+"}})};
    for (const compare::ComparisonRules& set : ruleSets) {
        options.rules = set;
        const bool rules = set.Any();
        std::optional<int> status;
        const QByteArray got =
            Printed([&](std::FILE* out) { return CompareLinesAsBytes(options, out); }, status);
        EXPECT_EQ(status.has_value(), !rules) << rules;
        EXPECT_EQ(got.isEmpty(), rules) << rules;
    }
    std::optional<int> general, run;
    const QByteArray expected =
        Printed([&](std::FILE* out) { return RunGeneralComparison(options, out); }, general);
    EXPECT_EQ(Printed([&](std::FILE* out) { return RunCliComparison(options, out); }, run),
              expected);
    EXPECT_EQ(run, general);
    EXPECT_EQ(general, 1);
}

// An expression that ICU cannot match against a line (it runs out of room) ends the run with
// status 2 and nothing written, whichever comparison meets it, in every form.
TEST_F(ByteLinesUnderRulesTest, AnExpressionThatCannotBeMatchedEndsTheRunInTrouble) {
    const QByteArray deepLine = QByteArray(200000, 'a') + "\n";
    CliOptions options = Options("x\n" + deepLine, "y\n");
    const ExpressionSet sets[] = {{"a mask", kCase, {u"[0-9]", u"(a|b)*c"}},
                                  {"ignore-matching", {}, {}, u"(a|b)*c"}};
    for (const ExpressionSet& set : sets) {
        options.rules = Rules(set);
        for (const Form& form : kForms) {
            form.ApplyTo(options);
            std::optional<int> status;
            EXPECT_EQ(
                Printed([&](std::FILE* out) { return RunCliComparison(options, out); }, status), "")
                << set.name << ", " << form.name;
            EXPECT_EQ(status, 2) << set.name << ", " << form.name;
        }
    }
}
