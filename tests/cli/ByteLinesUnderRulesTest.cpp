// The line comparison on bytes under the rules about blanks, tabs and case against the comparison
// of the decoded texts: for every pair of ASCII files the report and the status must be the same
// byte for byte, and whatever else the rules or the files ask for must be left to the general
// comparison untouched.
#include "FileIn.h"
#include "PrintedRun.h"
#include "ReportForm.h"
#include "cli/ByteLineComparison.h"
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

class ByteLinesUnderRulesTest : public ::testing::Test {
protected:
    CliOptions Options(const QByteArray& first, const QByteArray& second) {
        CliOptions options;
        options.file1 = QFile::encodeName(WriteFileIn(dir_, u"one.txt"_s, first));
        options.file2 = QFile::encodeName(WriteFileIn(dir_, u"two.txt"_s, second));
        return options;
    }

    // Under every rule set, loaded and exact, in every form the comparison on bytes serves.
    void ExpectSame(const QByteArray& first, const QByteArray& second, const std::string& what) {
        CliOptions options = Options(first, second);
        for (const RuleSet& set : kRuleSets) {
            options.rules = Rules(set.kinds);
            for (const bool exact : {false, true}) {
                for (const Form& form : kForms) {
                    options.exact = exact;
                    form.ApplyTo(options);
                    const std::string named =
                        what + ", " + set.name + (exact ? ", exact, " : ", ") + form.name;
                    std::optional<int> general, asBytes;
                    const QByteArray expected =
                        Printed([&](std::FILE* out) { return RunGeneralComparison(options, out); },
                                general);
                    const QByteArray got = Printed(
                        [&](std::FILE* out) { return CompareLinesAsBytes(options, out); }, asBytes);
                    // An exact text keeps its byte-order mark, which is no ASCII; an empty file
                    // is not mapped.
                    const bool marked =
                        first.startsWith("\xEF\xBB\xBF") || second.startsWith("\xEF\xBB\xBF");
                    if ((exact && marked) || first.isEmpty() || second.isEmpty()) {
                        EXPECT_FALSE(asBytes.has_value()) << named;
                        EXPECT_TRUE(got.isEmpty()) << named;
                        continue;
                    }
                    ASSERT_TRUE(asBytes.has_value()) << named;
                    ASSERT_EQ(got.toStdString(), expected.toStdString()) << named;
                    ASSERT_EQ(asBytes, general) << named;
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
    static const char* const parts[] = {"a", "B", "ab", "Ab", "AB", " ", "  ", "\t", " \t ", "z"};
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
    for (int round = 0; round < 60; ++round) {
        std::vector<QByteArray> stock(6);
        for (QByteArray& line : stock)
            line = RandomLine(random);
        const QByteArray first = RandomText(random, stock);
        const QByteArray second = round % 12 == 0 ? first : RandomText(random, stock);
        ExpectSame(first, second, "round " + std::to_string(round));
    }
}

TEST_F(ByteLinesUnderRulesTest, ChosenPairsGiveTheReportOfTheDecodedTexts) {
    const QByteArray longLine = QByteArray(40, 'x') + "  \t " + QByteArray(30, 'Y') + " ";
    // Longer than the marks the cutting keeps: such a line is keyed whatever they said.
    const QByteArray hugeLine = "A" + QByteArray(300000, 'b') + " c";
    const struct {
        const char* what;
        QByteArray first;
        QByteArray second;
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
        {"a line longer than the marks kept", "x\n" + hugeLine + "\ny\n",
         hugeLine.toLower() + "\ny\n" + hugeLine.mid(1)},
    };
    for (const auto& pair : pairs)
        ExpectSame(pair.first, pair.second, pair.what);
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
    compare::RuleChoice masked;
    masked.kinds = kCase;
    masked.masks = {u"[0-9]+"};
    compare::RuleChoice ignoring;
    ignoring.kinds = kCase;
    ignoring.ignoreMatching = u"^#";
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
        {"a mask", "A 1\n", compare::ComparisonRules(masked), false, false, {}},
        {"ignore-matching", "# A\n", compare::ComparisonRules(ignoring), false, false, {}},
        {"a kind that is not about blanks or case",
         "A\xC2\xA0"
         "b\n",
         withKinds(LookalikeKinds(LookalikeKind::Nbsp).With(LookalikeKind::Case)),
         false,
         false,
         {}},
        {"too little memory", "A b\n", withKinds(kCase), false, false, qint64{1} << 20},
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
    for (const bool rules : {false, true}) {
        options.rules = rules ? Rules(kCase) : compare::ComparisonRules();
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
