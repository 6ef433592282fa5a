// The line comparison through temporary files against the comparison of the decoded texts held in
// memory: a bound of one byte sends every pair of files through the temporary files, so every
// report it gives must be the held one byte for byte, and nothing may stay behind in the folder.
#include "FileIn.h"
#include "PrintedRun.h"
#include "ReportForm.h"
#include "cli/CliComparison.h"
#include "cli/ContentSet.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>

using namespace Qt::StringLiterals;

namespace {

QByteArray Printed(const CliOptions& options, int& status, bool general) {
    return ::Printed(
        [&](std::FILE* out) {
            return general ? RunGeneralComparison(options, out) : RunCliComparison(options, out);
        },
        status);
}

using Form = ReportForm;
constexpr Form kForms[] = {{"readable"},
                           {"numbered", false, true},
                           {"count", false, false, true},
                           {"quiet", false, false, false, true}};

class SpilledLinesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir(dir_.path()).mkdir(u"tmp"_s));
        const char* old = std::getenv("TMPDIR");
        oldTmp_ = old != nullptr ? QByteArray(old) : QByteArray();
        hadTmp_ = old != nullptr;
        setenv("TMPDIR", QFile::encodeName(dir_.filePath(u"tmp"_s)).constData(), 1);
    }
    void TearDown() override {
        if (hadTmp_)
            setenv("TMPDIR", oldTmp_.constData(), 1);
        else
            unsetenv("TMPDIR");
    }

    void ExpectSame(const QByteArray& first, const QByteArray& second, const std::string& what) {
        CliOptions options;
        options.file1 = QFile::encodeName(WriteFileIn(dir_, u"one.txt"_s, first));
        options.file2 = QFile::encodeName(WriteFileIn(dir_, u"two.txt"_s, second));
        for (const bool exact : {false, true}) {
            for (const Form& form : kForms) {
                options.exact = exact;
                form.ApplyTo(options);
                const std::string named = what + (exact ? " exact " : " ") + form.name;
                options.memoryBytes.reset();
                int held = -1, spilled = -1;
                const QByteArray expected = Printed(options, held, true);
                options.memoryBytes = 1;
                const QByteArray got = Printed(options, spilled, false);
                EXPECT_EQ(got.toStdString(), expected.toStdString()) << named;
                EXPECT_EQ(spilled, held) << named;
                EXPECT_TRUE(QDir(dir_.filePath(u"tmp"_s)).isEmpty()) << named;
            }
        }
    }

    QTemporaryDir dir_;
    QByteArray oldTmp_;
    bool hadTmp_ = false;
};

struct Pair {
    const char* what;
    QByteArray first;
    QByteArray second;
};

} // namespace

TEST_F(SpilledLinesTest, EdgeCasesGiveTheHeldReport) {
    const QByteArray longLine(300000, 'w'); // longer than a block of the cutting
    const Pair pairs[] = {
        {"same lines, other breaks", "one\ntwo\n", "two\r\none\r\n"},
        {"empty lines", "\n\n\nx\n", "x"},
        {"CR alone", "a\rb\r\rc", "a\r\nc\n"},
        {"CR LF and lone LF mixed", "a\r\n\nb\r\r\nc", "b\n\na"},
        {"no final line break", "one\ntwo", "one\ntwo\n"},
        {"LF in front in exact text", "\nx\r\ny\r", "x\r\n\ny\r\n"},
        {"byte-order mark", "\xEF\xBB\xBFone\ntwo\n", "one\nthree\n"},
        {"four-byte characters", "\xF0\x9F\x98\x80\nsame\n", "same\n\xC3\xA9\n"},
        {"a long line", longLine + "\nshort\n", "short\n" + longLine},
        {"repeats", "a\na\na\nb\n", "a\n"},
        // Not valid UTF-8: left to the general comparison, whatever was split by then.
        {"Windows-1252 late", QByteArray(2000, 'a') + "\ncaf\xE9\n", "a\n"},
        {"rich text", "{\\rtf1\\ansi one\\par two}", "one\n"},
    };
    for (const Pair& pair : pairs)
        ExpectSame(pair.first, pair.second, pair.what);
}

// Files of some size go through many buckets.
TEST_F(SpilledLinesTest, RandomFilesGiveTheHeldReport) {
    std::mt19937 random(7);
    static const char* const words[] = {"alpha", "beta", "\xC3\xA9t\xC3\xA9", "", " ", "x"};
    const auto file = [&](int lines) {
        QByteArray bytes;
        for (int i = 0; i < lines; ++i) {
            for (int w = static_cast<int>(random() % 4); w > 0; --w)
                bytes.append(words[random() % std::size(words)]);
            bytes.append(random() % 5 == 0 ? "\r\n" : random() % 7 == 0 ? "\r" : "\n");
        }
        return bytes;
    };
    for (const int lines : {3, 40, 20000})
        ExpectSame(file(lines), file(lines), std::to_string(lines) + " lines");
}

TEST(ContentSetTest, EqualHashesAreNotEqualContents) {
    ContentSet set;
    set.Insert(7, "one");
    set.Insert(7, "two"); // the same hash, another content
    set.Insert(7, "one");
    set.Insert(8, "");
    EXPECT_TRUE(set.Contains(7, "one"));
    EXPECT_TRUE(set.Contains(7, "two"));
    EXPECT_FALSE(set.Contains(7, "three"));
    EXPECT_FALSE(set.Contains(9, "one")); // only where the hash says
    EXPECT_TRUE(set.Contains(8, ""));
    for (std::uint64_t i = 0; i < 5000; ++i) // past several growths
        set.Insert(i * 0x9E3779B97F4A7C15ull, std::to_string(i));
    for (std::uint64_t i = 0; i < 5000; ++i)
        ASSERT_TRUE(set.Contains(i * 0x9E3779B97F4A7C15ull, std::to_string(i))) << i;
    EXPECT_TRUE(set.Contains(7, "two"));
}
