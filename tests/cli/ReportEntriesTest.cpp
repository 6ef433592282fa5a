#include "cli/ReportEntries.h"

#include <QStringEncoder>

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace Qt::StringLiterals;
using Mode = CliOptions::Mode;

namespace {

// The whole report of a result, converted through a buffer of `room` bytes.
QByteArray Convert(Mode mode, const QString& result, qsizetype room = 1 << 16) {
    ReportEntries entries(mode, result, '<');
    std::vector<char> buffer(static_cast<std::size_t>(room));
    QByteArray out;
    for (int calls = 0; !entries.AtEnd(); ++calls) {
        out.append(buffer.data(), entries.ConvertInto(buffer));
        if (calls > result.size() + 10) {
            ADD_FAILURE() << "no progress";
            break;
        }
    }
    return out;
}

// A word list as the word comparison writes it.
QString WordList(const QStringList& words) {
    QString list;
    for (const QString& word : words)
        list += u"\r\n"_s + word;
    return list;
}

// The report lines of a word list, word by word.
QByteArray ExpectedWordLines(const QStringList& words) {
    QStringEncoder utf8(QStringEncoder::Utf8);
    QByteArray out;
    for (const QString& word : words)
        out += "< " + QByteArray(utf8.encode(word)) + "\n";
    return out;
}

} // namespace

TEST(ReportEntriesTest, WordsBecomeOneLineEach) {
    EXPECT_EQ(Convert(Mode::Words, {}), "");
    EXPECT_EQ(Convert(Mode::Words, u"\r\nthree\r\nfour\r"_s), "< three\n< four\r\n");
    EXPECT_EQ(Convert(Mode::Words, u"\r\n\r\nx\r\n"_s), "< \n< x\n< \n") << "empty words";
    EXPECT_EQ(Convert(Mode::Words, u"\r\na\rb\r\n\nc"_s), "< a\rb\n< \nc\n")
        << "a lone CR or LF stays inside its word";
    EXPECT_EQ(Convert(Mode::Words, u"\r\nx\r\r\ny"_s), "< x\r\n< y\n")
        << "a word may end in a CR just before the next word's CR LF";
}

TEST(ReportEntriesTest, LinesLoseTheLFBeforeThem) {
    EXPECT_EQ(Convert(Mode::Lines, u"\ntwo three\r\nfour\r"_s), "< two three\n< four\n");
    EXPECT_EQ(Convert(Mode::Lines, u"first\r\n\r"_s), "< first\n< \n");
    EXPECT_EQ(Convert(Mode::Lines, u"a\nb\r"_s), "< a\nb\n") << "only an LF at the start goes";
}

TEST(ReportEntriesTest, CountsWhatItConverts) {
    EXPECT_EQ(ReportEntries::Count(Mode::Words, u""_s), 0);
    EXPECT_EQ(ReportEntries::Count(Mode::Words, u"\r\na\rb\r\n\r\n\nc"_s), 3);
    EXPECT_EQ(ReportEntries::Count(Mode::Lines, u"\ntwo\r\nfour\r"_s), 2);
}

TEST(ReportEntriesTest, TextBeyondAsciiIsUtf8AndUnpairedSurrogatesAreReplaced) {
    const QString emoji = QString(QChar(0xD83D)) + QChar(0xDE00);
    const QStringList words{u"caf\u00e9"_s, u"\u20ac5"_s, emoji, QString(QChar(0xDC00)) + u"z"_s,
                            u"\u00e9"_s.repeated(40) + u"tail"_s};
    EXPECT_EQ(Convert(Mode::Words, WordList(words)), "< caf\xC3\xA9\n< \xE2\x82\xAC"
                                                     "5\n< \xF0\x9F\x98\x80\n< \xEF\xBF\xBDz\n< " +
                                                         QByteArray("\xC3\xA9").repeated(40) +
                                                         "tail\n");
    // Long runs without ASCII are encoded in parts; no part may split a surrogate pair.
    for (int offset = 0; offset < 3; ++offset) {
        const QStringList long_{u"\u00e9"_s.repeated(offset) + emoji.repeated(300)};
        EXPECT_EQ(Convert(Mode::Words, WordList(long_)), ExpectedWordLines(long_));
    }
}

TEST(ReportEntriesTest, TheSmallestBufferGivesTheSameReport) {
    // Enough words of every kind that buffer ends and sixteen-unit blocks fall everywhere.
    std::mt19937 random(5);
    const QStringList pieces{u"a"_s,
                             u"word"_s,
                             u"\u00e9t\u00e9"_s,
                             u"\r"_s,
                             u""_s,
                             u"longerword"_s,
                             QString(QChar(0xD83D)) + QChar(0xDE00)};
    std::uniform_int_distribution<qsizetype> pick(0, pieces.size() - 1);
    QStringList words;
    for (int i = 0; i < 3000; ++i)
        words.append(pieces[pick(random)] + pieces[pick(random)]);
    const QString list = WordList(words);
    const QByteArray expected = ExpectedWordLines(words);
    for (qsizetype room : {ReportEntries::kMinimumRoom, ReportEntries::kMinimumRoom + 7})
        EXPECT_EQ(Convert(Mode::Words, list, room), expected) << "room " << room;
    EXPECT_EQ(ReportEntries::Count(Mode::Words, list), words.size());
}

TEST(ReportEntriesTest, PiecesTogetherGiveTheWholeReport) {
    std::mt19937 random(9);
    const QStringList pieces{u"a"_s, u"\r"_s, u""_s, u"\n"_s, u"word"_s, u"\u00e9"_s};
    std::uniform_int_distribution<qsizetype> pick(0, pieces.size() - 1);
    QString words, lines;
    for (int i = 0; i < 500; ++i) {
        const QString entry = pieces[pick(random)] + pieces[pick(random)];
        words += u"\r\n"_s + entry;
        lines += (i % 2 ? u"\n"_s : u""_s) + QString(entry).remove(u'\r') + u"\r"_s;
    }
    for (const auto& [mode, result] :
         {std::pair{Mode::Words, words}, std::pair{Mode::Lines, lines}}) {
        const QByteArray whole = Convert(mode, result);
        for (qsizetype units : {1, 7, 100, 100000}) {
            QByteArray joined;
            for (const QStringView piece : ReportEntries::Pieces(mode, result, units))
                joined += ReportEntries::Convert(mode, piece, '<');
            EXPECT_EQ(joined, whole) << "pieces of about " << units << " units";
        }
    }
}
