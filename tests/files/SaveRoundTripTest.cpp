#include "PythonCsv.h"
#include "WindowFixture.h"

#include <string>

using namespace Qt::StringLiterals;

namespace {

constexpr int kTextFilter = 0;
constexpr int kAllFilesFilter = 1;
constexpr int kCsvFilter = 2;

QByteArray Utf16(QStringView text, bool bigEndian) {
    QByteArray bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const QChar unit : text) {
        const char high = static_cast<char>(unit.unicode() >> 8);
        const char low = static_cast<char>(unit.unicode() & 0xFF);
        bytes.append(bigEndian ? high : low).append(bigEndian ? low : high);
    }
    return bytes;
}

class SaveFixture : public WindowFixture {
protected:
    void Load(int side, const QString& path) {
        dialog.answers = {path};
        side == 1 ? window->PushButton3_Click() : window->PushButton4_Click();
    }
    // Saves what the side shows under a new name, in the form of the filter chosen.
    QByteArray Save(int side, const QString& name, int filter = kTextFilter) {
        dialog.answers = {programFolder.filePath(name)};
        dialog.filterChosen = filter;
        side == 1 ? window->PushButton2_Click() : window->PushButton5_Click();
        return Read(programFolder.filePath(name));
    }
};

struct RoundTrip {
    const char* name;
    QByteArray file;
    QByteArray unedited; // saved just after the load
    QByteArray edited;   // saved after a line is typed in front
};

class SaveRoundTripTest : public SaveFixture, public ::testing::WithParamInterface<RoundTrip> {};

} // namespace

// A loaded text saves back as its file held it: byte for byte when it was UTF-8, and with the
// file's own line breaks, one by one, whatever its encoding; the saved file loads as the same
// text. An edited text is written with its file's line break.
TEST_P(SaveRoundTripTest, ALoadedTextSavesBackAsItsFileHeldIt) {
    const RoundTrip& c = GetParam();
    Form1& form = Start();
    Load(1, Write(u"source.txt"_s, c.file));
    ASSERT_TRUE(form.RichTextBox1.Visible());
    const QString loaded = form.RichTextBox1.Text();
    EXPECT_EQ(Save(1, u"unedited.txt"_s), c.unedited);
    Load(2, programFolder.filePath(u"unedited.txt"_s));
    EXPECT_EQ(form.RichTextBox2.Text(), loaded) << "the saved file loads as the same text";
    EXPECT_EQ(Save(2, u"again.txt"_s), c.unedited) << "and saves the same again";

    form.RichTextBox1.Edit(0, 0, u"new\r\n"_s, true);
    EXPECT_EQ(Save(1, u"edited.txt"_s), c.edited);
    EXPECT_TRUE(box.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, SaveRoundTripTest,
    ::testing::Values(
        RoundTrip{"lf", "one\ntwo\n", "one\ntwo\n", "new\none\ntwo\n"},
        RoundTrip{"crlf_without_a_last_break", "one\r\ntwo", "one\r\ntwo", "new\r\none\r\ntwo"},
        RoundTrip{"cr", "one\rtwo\r", "one\rtwo\r", "new\rone\rtwo\r"},
        RoundTrip{"mixed", "one\r\ntwo\nthree\rfour\n", "one\r\ntwo\nthree\rfour\n",
                  "new\none\ntwo\nthree\nfour\n"},
        RoundTrip{"mixed_empty_lines", "\n\r\n\r\rx", "\n\r\n\r\rx", "new\r\r\r\r\rx"},
        RoundTrip{"utf8_with_bom",
                  "\xEF\xBB\xBF"
                  "caf\xC3\xA9\r\n",
                  "\xEF\xBB\xBF"
                  "caf\xC3\xA9\r\n",
                  "\xEF\xBB\xBFnew\r\ncaf\xC3\xA9\r\n"},
        RoundTrip{"utf8", "\xE2\x82\xAC 5\n\xF0\x9F\x99\x82\n",
                  "\xE2\x82\xAC 5\n\xF0\x9F\x99\x82\n", "new\n\xE2\x82\xAC 5\n\xF0\x9F\x99\x82\n"},
        RoundTrip{"utf16le", Utf16(u"a\r\nb\nc\r\n", false), "a\r\nb\nc\r\n",
                  "new\r\na\r\nb\r\nc\r\n"},
        RoundTrip{"utf16be", Utf16(u"x\ry\u00e9", true), "x\ry\xC3\xA9", "new\rx\ry\xC3\xA9"},
        RoundTrip{"windows1252", "caf\xE9\n\x80\n", "caf\xC3\xA9\n\xE2\x82\xAC\n",
                  "new\ncaf\xC3\xA9\n\xE2\x82\xAC\n"},
        RoundTrip{"empty", "", "", "new\n"}, RoundTrip{"one_line", "x", "x", "new\nx"}),
    [](const auto& named) { return std::string(named.param.name); });

namespace {

class SaveListsTest : public SaveFixture {
protected:
    // File #1 with LF breaks, file #2 with CR LF and no last break.
    Form1& StartWithFiles() {
        Form1& form = Start();
        Load(1, Write(u"a.txt"_s, "same\nonly in a\nshared words here\n"));
        Load(2, Write(u"b.txt"_s, "same\r\nonly in b\r\nshared other here"));
        return form;
    }
};

} // namespace

// Each list is one entry a line in the line break of its file, with no empty first line, nothing
// for the CR a load appends, and a last line break; as CSV each entry has its line in its file.
TEST_F(SaveListsTest, TheListsOfTheLineComparisonAsTextAndAsCsv) {
    Form1& form = StartWithFiles();
    form.PushButton1_Click();
    form.SetOptionValue(form.Option2, true);
    EXPECT_EQ(Save(1, u"1.txt"_s), "only in a\nshared words here\n");
    EXPECT_EQ(Save(2, u"2.txt"_s, kAllFilesFilter), "only in b\r\nshared other here\r\n");
    EXPECT_EQ(Save(1, u"1.csv"_s, kCsvFilter),
              "line,text\r\n2,only in a\r\n3,shared words here\r\n");
    EXPECT_EQ(Save(2, u"2.csv"_s, kCsvFilter),
              "line,text\r\n2,only in b\r\n3,shared other here\r\n");
    EXPECT_TRUE(form.RichTextBox3.Text().startsWith(u'\n')) << "the list on show is as it was";

    form.SetOptionValue(form.Option1, true);
    EXPECT_EQ(Save(1, u"full.csv"_s, kCsvFilter),
              "line,text\r\n1,same\r\n2,only in a\r\n3,shared words here\r\n");
}

TEST_F(SaveListsTest, TheListsOfTheWordComparisonAsTextAndAsCsv) {
    Form1& form = StartWithFiles();
    form.PushButton6_Click();
    form.SetOptionValue(form.Option2, true);
    EXPECT_EQ(Save(1, u"1.txt"_s), "a\nwords\n");
    EXPECT_EQ(Save(2, u"2.txt"_s), "b\r\nother\r\n");
    EXPECT_EQ(Save(1, u"1.csv"_s, kCsvFilter), "line,word,text\r\n2,3,a\r\n3,2,words\r\n");
    EXPECT_EQ(Save(2, u"2.csv"_s, kCsvFilter), "line,word,text\r\n2,3,b\r\n3,2,other\r\n");
    const auto records = RecordsReadByPython(programFolder.filePath(u"2.csv"_s));
    if (!records)
        GTEST_SKIP() << "no python3";
    EXPECT_EQ(*records, (std::vector<QStringList>{{u"line"_s, u"word"_s, u"text"_s},
                                                  {u"2"_s, u"3"_s, u"b"_s},
                                                  {u"3"_s, u"2"_s, u"other"_s}}));
}

// A list keeps the line breaks of the file it was found in, also once that side holds another.
TEST_F(SaveListsTest, AListKeepsTheLineBreaksOfItsFileAfterAnotherIsLoaded) {
    Form1& form = StartWithFiles();
    form.PushButton1_Click();
    Load(1, Write(u"c.txt"_s, "other\r\n"));
    form.SetOptionValue(form.Option2, true);
    EXPECT_EQ(Save(1, u"1.txt"_s), "only in a\nshared words here\n");
}
