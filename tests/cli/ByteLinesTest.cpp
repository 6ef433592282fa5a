// The line comparison on bytes against the comparison of the decoded texts: for every pair of
// files it takes, the report must be the same byte for byte, readable or JSON, loaded or exact,
// with or without the lines counted differently; every file it does not take must be left to the
// general comparison untouched.
#include "BytesAgainstGeneral.h"
#include "FileIn.h"
#include "PrintedRun.h"
#include "ReportForm.h"
#include "SanitizedRounds.h"
#include "cli/BreakScan.h"
#include "cli/ByteLineComparison.h"
#include "cli/ByteLinesReport.h"
#include "cli/CliComparison.h"
#include "cli/JsonWriter.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <random>
#include <span>

using namespace Qt::StringLiterals;

namespace {

using Form = ReportForm;
// The forms of report the comparison on bytes gives.
constexpr Form kForms[] = {
    {"readable"},
    {"json", true},
    {"numbered", false, true},
    {"count", false, false, true},
    {"quiet", false, false, false, true},
    {"counts", false, false, false, false, true},
    {"counts json", true, false, false, false, true},
    {"counts numbered", false, true, false, false, true},
    {"counts count", false, false, true, false, true},
    {"counts quiet", false, false, false, true, true},
};

class ByteLinesTest : public ::testing::Test {
protected:
    // Both ways on the two files, in every form of report; `taken` says whether the comparison
    // on bytes must take them.
    void ExpectSame(const QByteArray& first, const QByteArray& second, bool taken,
                    const std::string& what, std::span<const Form> forms = kForms) {
        CliOptions options;
        options.file1 = QFile::encodeName(WriteFileIn(dir_, u"one.txt"_s, first));
        options.file2 = QFile::encodeName(WriteFileIn(dir_, u"two.txt"_s, second));
        for (const bool exact : {false, true}) {
            for (const Form& form : forms) {
                options.exact = exact;
                form.ApplyTo(options);
                const std::string named = what + (exact ? " exact " : " ") + form.name;
                // Invalid UTF-8 is still taken exactly as bytes where a marked file is not read.
                const bool takenHere =
                    taken || (exact && first.isValidUtf8() && second.isValidUtf8() &&
                              !first.isEmpty() && !second.isEmpty());
                EXPECT_TRUE(BytesAsGeneral(options, takenHere)) << named;
            }
        }
    }

    QTemporaryDir dir_;
};

struct Pair {
    const char* what;
    QByteArray first;
    QByteArray second;
};

} // namespace

TEST_F(ByteLinesTest, ValidUtf8GivesTheReportOfTheDecodedText) {
    const QByteArray longLine(70000, 'w'); // past a block of the cutting
    QByteArray atBlockEnd(65535, 'q');     // a CR LF split between two blocks
    atBlockEnd.append("\r\nq\r\n");
    const Pair pairs[] = {
        {"same lines, other breaks", "one\ntwo\n", "two\r\none\r\n"},
        {"moved first line", "a\nb\nc", "b\na\nc\n"},
        {"empty lines", "\n\n\nx\n", "x"},
        {"empty lines against none", "\n\n", "x\ny"},
        {"empty first line", "\nx", "y\n"},
        {"CR alone", "a\rb\r\rc", "a\r\nc\n"},
        {"CR LF and lone LF mixed", "a\r\n\nb\r\r\nc", "b\n\na"},
        {"CR CR LF", "a\r\r\nb", "a\n\nb"},
        {"no final line break", "one\ntwo", "one\ntwo\n"},
        {"LF in front in exact text", "\nx\r\ny\r", "x\r\n\ny\r\n"},
        {"two LFs after a CR", "a\r\n\nb", "a\r\n\nb\r\nb"},
        {"byte-order mark", "\xEF\xBB\xBFone\ntwo\n", "one\nthree\n"},
        {"byte-order mark on both", "\xEF\xBB\xBFx", "\xEF\xBB\xBFy"},
        {"two byte-order marks", "\xEF\xBB\xBF\xEF\xBB\xBFx\n", "\xEF\xBB\xBFx\n"},
        {"mark in the middle", "a\xEF\xBB\xBF\nb", "a\n"},
        {"two, three and four bytes",
         "\xC3\xA9t\xC3\xA9\n\xE2\x82\xAC 5\n\xF0\x9F\x98\x80 smile\nsame\n",
         "same\n\xF0\x9F\x98\x80\n"},
        {"units counted after four bytes", "\xF0\x9F\x98\x80\n\xF0\x9F\x98\x81\nx\ny\n", "y\n"},
        {"noncharacters and separators", "\xEF\xBF\xBE\n\xEF\xBF\xBF\n\xE2\x80\xA8\n", "a\n"},
        {"what JSON escapes", "tab\there\nq\"uote\nback\\slash\n\x01\x1F\x7F\n", "none\n"},
        {"trailing blanks and case", "Abc\nabc \n", "abc\n"},
        {"one file empty", "", "x\n"},
        {"both empty", "", ""},
        {"a long line", longLine + "\nshort\n", "short\n" + longLine},
        {"a break between blocks", atBlockEnd, "q\n"},
        {"rich text that is not", "\xEF\xBB\xBF{\\rtf1 x}\n", "y\n"},
        {"a NUL byte", QByteArray("a\0b\nc\n", 6), "c\n"},
    };
    for (const Pair& pair : pairs)
        ExpectSame(pair.first, pair.second, !pair.first.isEmpty() && !pair.second.isEmpty(),
                   pair.what);
}

// What the loaded text does not hold as its bytes is left to the general comparison.
TEST_F(ByteLinesTest, OtherFilesAreLeftToTheGeneralComparison) {
    const Pair pairs[] = {
        {"Windows-1252", "caf\xE9\nb\n", "b\n"},
        {"marked but broken", "\xEF\xBB\xBFx\x93y\n", "x\n"},
        {"overlong", "\xC0\xAF\n", "a\n"},
        {"surrogate", "\xED\xA0\x80\n", "a\n"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80\n", "a\n"},
        {"cut short", "a\n\xE2\x82", "a\n"},
        {"UTF-16LE",
         QByteArray("\xFF\xFE"
                    "a\0\n\0",
                    6),
         "a\n"},
        {"UTF-16BE", QByteArray("\xFE\xFF\0a\0\n", 6), "a\n"},
        {"rich text", "{\\rtf1\\ansi one\\par two}", "one\n"},
    };
    for (const Pair& pair : pairs)
        ExpectSame(pair.first, pair.second, false, pair.what);
}

TEST_F(ByteLinesTest, OptionsItDoesNotServeAreLeftToTheGeneralComparison) {
    CliOptions options;
    options.file1 = QFile::encodeName(WriteFileIn(dir_, u"one.txt"_s, "a\n"));
    options.file2 = QFile::encodeName(WriteFileIn(dir_, u"two.txt"_s, "b\n"));
    EXPECT_TRUE(LinesAsBytesServe(options));
    CliOptions words = options;
    words.mode = CliOptions::Mode::Words;
    CliOptions explain = options;
    explain.explain = true;
    CliOptions counts = options;
    counts.counts = true;
    EXPECT_TRUE(LinesAsBytesServe(counts));
    CliOptions input = options;
    input.file2 = kStandardInput;
    for (const CliOptions& other : {words, input}) {
        EXPECT_FALSE(LinesAsBytesServe(other));
        std::optional<int> status;
        EXPECT_TRUE(Printed([&](std::FILE* out) { return CompareLinesAsBytes(other, out); }, status)
                        .isEmpty());
        EXPECT_FALSE(status.has_value());
    }
    // --explain, with a report that names look-alikes or without (ByteLookalikesTest).
    for (const bool quiet : {false, true}) {
        CliOptions counted = explain;
        counted.quiet = quiet;
        counted.count = !quiet;
        EXPECT_TRUE(LinesAsBytesServe(counted));
    }
    EXPECT_TRUE(LinesAsBytesServe(explain));
    // Files that would not fit, with their pieces, in the memory allowed, with a report that the
    // comparison through temporary files does not give.
    CliOptions tight = options;
    tight.memoryBytes = qint64{1} << 20;
    tight.json = true;
    std::optional<int> status;
    Printed([&](std::FILE* out) { return CompareLinesAsBytes(tight, out); }, status);
    EXPECT_FALSE(status.has_value());
}

// Counting takes room a line beside what the comparison takes: files that fit without it, but not
// with it, are left to the general comparison, which may hold them or read them in passes.
TEST_F(ByteLinesTest, CountsThatWouldNotFitAreLeftToTheGeneralComparison) {
    constexpr int kLines = 100000;
    QByteArray bytes;
    for (int i = 0; i < kLines; ++i)
        bytes += i % 3 == 0 ? "x\n" : "y\n";
    CliOptions options;
    options.file1 = QFile::encodeName(WriteFileIn(dir_, u"one.txt"_s, bytes));
    options.file2 = QFile::encodeName(WriteFileIn(dir_, u"two.txt"_s, bytes + "x\n"));
    // Beside the run and the files, room for about 290,000 pieces without counting, 130,000 with.
    options.memoryBytes = (qint64{32} << 20) + 2 * bytes.size() + (qint64{10} << 20);
    for (const bool counts : {false, true}) {
        options.counts = counts;
        std::optional<int> status;
        const QByteArray got =
            Printed([&](std::FILE* out) { return CompareLinesAsBytes(options, out); }, status);
        EXPECT_EQ(status.has_value(), !counts) << counts;
        EXPECT_EQ(got.isEmpty(), counts) << counts;
    }
    std::optional<int> status;
    const QByteArray general =
        Printed([&](std::FILE* out) { return RunGeneralComparison(options, out); }, status);
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(general.contains("33334\xC3\x97 in ") && general.contains("33335\xC3\x97 in "))
        << general.toStdString();
}

TEST_F(ByteLinesTest, RandomFilesGiveTheSameReportEitherWay) {
    std::mt19937 random(12);
    static const char* const pieces[] = {"a",
                                         "b",
                                         "ab",
                                         " ",
                                         "\r",
                                         "\n",
                                         "\n",
                                         "\r\n",
                                         "\t",
                                         "\xC3\xA9",
                                         "\xF0\x9F\x98\x80",
                                         "\"",
                                         "\xEF\xBB\xBF"};
    const auto file = [&] {
        QByteArray bytes;
        for (int i = static_cast<int>(random() % 40); i > 0; --i)
            bytes.append(pieces[random() % std::size(pieces)]);
        return bytes;
    };
    for (int round = 0; round < Rounds(120); ++round) {
        const QByteArray first = file();
        const QByteArray second = file();
        ExpectSame(first, second,
                   !first.isEmpty() && !second.isEmpty() && !first.startsWith("{\\rtf") &&
                       !second.startsWith("{\\rtf"),
                   "round " + std::to_string(round));
    }
}

// Texts made of a few lines, most of them repeated, some empty, with every kind of break, a
// byte-order mark now and then and often no final break: the counted lines, the empty line above
// all, must be those of the decoded texts.
TEST_F(ByteLinesTest, RandomRepeatsAreCountedAsTheDecodedTextsCountThem) {
    static const char* const lines[] = {"", "", "a", "b", "a b", "\xC3\xA9", "\t", "\"q\""};
    static const char* const breaks[] = {"\n", "\r\n", "\r", "\n\n", "\r\n\r\n"};
    constexpr Form kCounts[] = {
        {"counts", false, false, false, false, true},
        {"counts json", true, false, false, false, true},
        {"counts numbered", false, true, false, false, true},
        {"counts count", false, false, true, false, true},
        {"counts quiet", false, false, false, true, true},
    };
    std::mt19937 random(21);
    const auto file = [&] {
        QByteArray bytes = random() % 5 == 0 ? "\xEF\xBB\xBF" : "";
        for (int i = static_cast<int>(random() % 30); i > 0; --i) {
            bytes.append(lines[random() % std::size(lines)]);
            if (i > 1 || random() % 2 == 0)
                bytes.append(breaks[random() % std::size(breaks)]);
        }
        return bytes;
    };
    for (int round = 0; round < Rounds(150); ++round) {
        const QByteArray first = file();
        const QByteArray second = round % 10 == 0 ? first : file();
        ExpectSame(first, second, !first.isEmpty() && !second.isEmpty(),
                   "repeats " + std::to_string(round), kCounts);
    }
}

// The vector versions of the search for breaks against the byte-at-a-time one, at every offset
// and length around the strides.
TEST(BreakScanTest, FindsWhatTheBytesHold) {
    std::mt19937 random(5);
    std::string bytes(300, ' ');
    for (char& byte : bytes) {
        const unsigned pick = random() % 8;
        byte = pick == 0 ? '\r' : pick == 1 ? '\n' : pick == 2 ? '\xC3' : 'a';
    }
    std::vector<std::uint32_t> expected(bytes.size()), got(bytes.size());
    for (std::size_t from = 0; from < 70; ++from) {
        for (std::size_t size = 0; from + size <= bytes.size(); size += 7) {
            for (const bool crOnly : {false, true}) {
                const auto want =
                    break_scan::ScanPortable(bytes.data() + from, size, crOnly, expected.data());
                const auto found = break_scan::Scan(bytes.data() + from, size, crOnly, got.data());
                ASSERT_EQ(found.count, want.count) << break_scan::ScanKind() << from << ' ' << size;
                EXPECT_EQ(found.nonAscii, want.nonAscii) << from << ' ' << size;
                EXPECT_TRUE(std::equal(got.begin(), got.begin() + static_cast<long>(want.count),
                                       expected.begin()))
                    << from << ' ' << size;
            }
        }
    }
}

// The JSON escaping of bytes, sixteen at a time, against the escaping of the decoded text, with
// everything that must be escaped at every place around the vector's width.
TEST(ByteJsonEscapingTest, EscapesAsTheDecodedTextIsEscaped) {
    std::mt19937 random(11);
    const std::string pieces[] = {"a",
                                  "\"",
                                  "\\",
                                  "\n",
                                  "\r",
                                  "\t",
                                  std::string(1, '\0'),
                                  "\x1F",
                                  "\x7F",
                                  " ",
                                  "\xC3\xA9",
                                  "\xE2\x80\x8B",
                                  "\xF0\x9F\x98\x80"};
    for (int round = 0; round < 400; ++round) {
        std::string bytes;
        const int parts = static_cast<int>(random() % 60);
        for (int part = 0; part < parts; ++part)
            bytes += random() % 3 == 0 ? pieces[random() % std::size(pieces)] : "x";
        std::vector<char> got(bytes.size() * 6 + 16);
        const char* end = AppendJsonEscapedBytes(got.data(), bytes);
        const QString text = QString::fromUtf8(bytes);
        QByteArray expected;
        JsonWriter::AppendEscaped(expected, text);
        ASSERT_EQ(QByteArray(got.data(), end - got.data()), expected) << round;
    }
}
