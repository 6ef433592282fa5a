// --explain lines on bytes against the comparison of the decoded texts: every report that names
// the look-alikes (readable, numbered, JSON, with the lines counted differently) must be the same
// byte for byte, loaded or exact, whichever way round the files are given; what it does not take
// must be left to the general comparison with nothing written.
#include "BytesAgainstGeneral.h"
#include "FileIn.h"
#include "PrintedRun.h"
#include "ReportForm.h"
#include "SanitizedRounds.h"
#include "cli/ByteLineComparison.h"
#include "cli/CliComparison.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <random>
#include <span>

using namespace Qt::StringLiterals;

namespace {

// The forms of report with --explain.
constexpr ReportForm kExplainForms[] = {
    {"explain", false, false, false, false, false, true},
    {"explain json", true, false, false, false, false, true},
    {"explain numbered", false, true, false, false, false, true},
    {"explain counts", false, false, false, false, true, true},
    {"explain counts json", true, false, false, false, true, true},
    {"explain count", false, false, true, false, false, true},
    {"explain quiet", false, false, false, true, false, true},
};

class ByteLookalikesTest : public ::testing::Test {
protected:
    // Both files both ways round, loaded and exact, in every form with --explain: the comparison
    // on bytes takes them, unless one is empty (no file to map), and reports what the decoded
    // texts report.
    void ExpectExplainedAlike(const QByteArray& first, const QByteArray& second,
                              const std::string& what) {
        const bool taken = !first.isEmpty() && !second.isEmpty();
        for (const bool swapped : {false, true}) {
            CliOptions options;
            options.file1 =
                QFile::encodeName(WriteFileIn(dir_, u"one.txt"_s, swapped ? second : first));
            options.file2 =
                QFile::encodeName(WriteFileIn(dir_, u"two.txt"_s, swapped ? first : second));
            for (const bool exact : {false, true})
                for (const ReportForm& form : kExplainForms) {
                    options.exact = exact;
                    form.ApplyTo(options);
                    ExpectAlike(options, taken,
                                what + (swapped ? " swapped" : "") + (exact ? " exact " : " ") +
                                    form.name);
                }
        }
    }

    static void ExpectAlike(const CliOptions& options, bool taken, const std::string& named) {
        EXPECT_TRUE(BytesAsGeneral(options, taken)) << named;
    }

    QTemporaryDir dir_;
};

struct LookalikePair {
    const char* what;
    QByteArray first;
    QByteArray second;
};

} // namespace

TEST_F(ByteLookalikesTest, EachKindGivesTheLookalikesOfTheDecodedTexts) {
    const LookalikePair pairs[] = {
        {"case", "Hello World\nsame\n", "same\nhello world\n"},
        {"trailing space", "abc  \nsame\n", "same\nabc\n"},
        {"leading space", "   abc\nsame\n", "abc\nsame\n"},
        {"inner space", "a  b c\n", "a b  c\n"},
        {"tab as space", "a\tb\n", "a b\n"},
        {"rn and m", "modern\n", "rnodern\n"},
        {"0 and O", "R2D0\nx\n", "R2DO\ny\n"},
        {"l and 1", "l33t\n", "1337\n133t\n"},
        {"several kinds at once", "  Hello  World \n", "hello world\n"},
        {"several candidates, the first that is one", "Key\n", "kex\nKEY \nkey\nKEY\n"},
        {"a look-alike among the lines both have", "Shared\nshared\nonly\n", "shared\nSHARED\n"},
        {"a look-alike among the other's missing lines", "Apple\n", "APPLE \napple\n"},
        {"repeated missing lines", "Dup\nDup\nx\nDup\n", "dup\ndup\nx\n"},
        {"repeated look-alikes, the first named", "q\n", "Q\nQ\n Q\nQ\n"},
        {"blanks against an empty line", "a\n   \n", "a\n\n"},
        {"blanks against the end", "a\n \t ", "a\n"},
        {"CR line breaks", "One\rTwo\r", "one\rtwo"},
        {"CR LF line breaks", "One\r\nTwo\r\n", "one\r\nTWO\r\n"},
        {"mixed breaks", "A\r\nb\rC\nd", "a\nB\r\nc\rD\r\n"},
        {"no final break", "x\nEnd", "x\nend"},
        {"LF in front in exact text", "\nx\r\nY\r", "\nX\r\ny\r\n"},
        {"none alike", "alpha\nbeta\n", "gamma\ndelta\n"},
        {"what JSON escapes", "Tab\there\n\"Q\"\n", "tab\there\n\"q\"\n"},
        {"a byte-order mark", "\xEF\xBB\xBFOne\n", "one\n"},
        {"accented letters", "caf\xC3\xA9\n", "CAF\xC3\x89\n"},
        {"unicode form", "caf\xC3\xA9\n", "cafe\xCC\x81\n"},
        {"no-break space",
         "a\xC2\xA0"
         "b\n",
         "a b\n"},
        {"zero width", "ab\xE2\x80\x8B\n", "ab\n"},
        {"compatibility", "\xEF\xAC\x81le\n", "file\n"},
        {"confusable letters of other scripts", "\xD0\xB0pple\n", "apple\n"},
        {"four bytes before a look-alike", "\xF0\x9F\x98\x80\nX\n", "x\n"},
        {"lines too long to be searched", QByteArray(300000, 'a') + "\nx\n",
         QByteArray(300000, 'A') + "\nX\n"},
        {"one file empty", "", "A\n"},
        {"one file an empty line", "\n", " \n"},
    };
    for (const LookalikePair& pair : pairs)
        ExpectExplainedAlike(pair.first, pair.second, pair.what);
}

// Lines made of pieces that look alike in many ways, some repeated, with every kind of break:
// most missing lines have look-alikes, many of them more than one, on either side.
TEST_F(ByteLookalikesTest, RandomLinesGiveTheLookalikesOfTheDecodedTexts) {
    std::mt19937 random(31);
    static const char* const pieces[] = {
        "a", "A", "b", "B",  " ", "  ",       "\t",       "rn",           "m", "0", "O", "o",
        "l", "1", "I", "ab", "x", "\xC3\xA9", "\xC2\xA0", "\xEF\xAC\x81", "fi"};
    static const char* const breaks[] = {"\n", "\n", "\r\n", "\r"};
    const auto file = [&] {
        QByteArray bytes;
        for (int line = static_cast<int>(random() % 12); line > 0; --line) {
            for (int i = static_cast<int>(random() % 4); i > 0; --i)
                bytes.append(pieces[random() % std::size(pieces)]);
            if (random() % 8 != 0 || line > 1)
                bytes.append(breaks[random() % std::size(breaks)]);
        }
        return bytes;
    };
    for (int round = 0; round < Rounds(60); ++round)
        ExpectExplainedAlike(file(), file(), "round " + std::to_string(round));
}

// The rules keep --explain on the decoded texts; so does a search that would not fit in the memory
// allowed, whose report then tells no look-alikes: either way nothing is written on bytes.
TEST_F(ByteLookalikesTest, WhatItDoesNotTakeIsLeftToTheGeneralComparison) {
    CliOptions options;
    options.file1 = QFile::encodeName(WriteFileIn(dir_, u"one.txt"_s, "Abc\nx\n"));
    options.file2 = QFile::encodeName(WriteFileIn(dir_, u"two.txt"_s, "abc\ny\n"));
    options.explain = true;
    EXPECT_TRUE(LinesAsBytesServe(options));
    CliOptions underRules = options;
    compare::RuleChoice trailing;
    trailing.kinds = compare::LookalikeKinds(compare::LookalikeKind::TrailingSpace);
    underRules.rules = compare::ComparisonRules(trailing);
    EXPECT_FALSE(LinesAsBytesServe(underRules));
    // Beside the run and the files, room for the pieces but not for the look-alike search.
    CliOptions tight = options;
    tight.memoryBytes = (qint64{32} << 20) + (qint64{1} << 20);
    for (const CliOptions& declined : {underRules, tight}) {
        std::optional<int> status;
        EXPECT_TRUE(
            Printed([&](std::FILE* out) { return CompareLinesAsBytes(declined, out); }, status)
                .isEmpty());
        EXPECT_FALSE(status.has_value());
    }
}
