#include "files/SavedPane.h"

#include "platform/QtFileSystem.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

using namespace Qt::StringLiterals;

namespace {

using Form = ResultList::Form;

std::shared_ptr<const TextFileForm> FileOf(LineBreak lineBreak, const std::string& eachBreak = "") {
    auto form = std::make_shared<TextFileForm>();
    form->lineBreak = lineBreak;
    form->mixedBreaks = !eachBreak.empty();
    for (const char kind : eachBreak)
        form->eachBreak.Append(kind == 'W'   ? LineBreak::CrLf
                               : kind == 'L' ? LineBreak::Lf
                                             : LineBreak::Cr);
    return form;
}

class SavedPaneTest : public ::testing::Test {
protected:
    QByteArray Saved(const Pane& pane, SaveFormat format) {
        const SavedPane saved = SavedPane::Of(pane);
        const QString path = folder.filePath(u"saved"_s);
        std::atomic<qsizetype> done = 0;
        TextFileWriter file(files, path, EncodingFor(saved, format));
        WriteSavedPane(saved, format, file, done);
        file.Commit();
        EXPECT_EQ(done, saved.Length()) << "the progress comes to its end";
        QFile read(path);
        return read.open(QIODevice::ReadOnly) ? read.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir folder;
    QtFileSystem files{folder.path()};
};

struct ListCase {
    const char* name;
    QString source;
    Form form;
    std::vector<TextRange> entries;
    LineBreak lineBreak; // of the source's file
    QByteArray text;
    QByteArray csv;
};

class SavedListTest : public SavedPaneTest, public ::testing::WithParamInterface<ListCase> {};

} // namespace

// A list is one entry a line in its file's line break, without what stands only for the CR a
// load appends; as CSV each entry comes with its line (and word) in the text it came from.
TEST_P(SavedListTest, WritesOneEntryALineAndWhereEachStands) {
    const ListCase& c = GetParam();
    ResultList::Builder builder(c.source, c.form);
    for (const TextRange entry : c.entries)
        builder.Add(entry);
    Pane pane;
    pane.AppendList(std::make_shared<const ResultList>(std::move(builder).Finish()));
    pane.SetFileForm(FileOf(c.lineBreak));
    ASSERT_NE(pane.Listed(), nullptr);
    EXPECT_EQ(Saved(pane, SaveFormat::Text), c.text);
    EXPECT_EQ(Saved(pane, SaveFormat::CsvWithLineNumbers), c.csv);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, SavedListTest,
    ::testing::Values(
        // "a\nb\n" loaded: its lines, the empty one before the appended CR, the one after it.
        ListCase{"lines_of_a_loaded_file",
                 u"a\r\nb\r\n\r"_s,
                 Form::Pieces,
                 {{0, 1}, {2, 2}, {5, 1}, {7, 0}},
                 LineBreak::Lf,
                 "a\nb\n",
                 "line,text\r\n1,a\r\n2,b\r\n"},
        ListCase{"an_empty_first_line",
                 u"\r\nx\r"_s,
                 Form::Pieces,
                 {{0, 0}, {1, 2}, {4, 0}},
                 LineBreak::CrLf,
                 "\r\nx\r\n",
                 "line,text\r\n1,\r\n2,x\r\n"},
        ListCase{"an_empty_line_of_typed_text",
                 u"a\r\n\r\nb"_s,
                 Form::Pieces,
                 {{2, 1}},
                 LineBreak::Cr,
                 "\r",
                 "line,text\r\n2,\r\n"},
        ListCase{"a_last_line_without_a_break",
                 u"x\r\ny,z\r"_s,
                 Form::Pieces,
                 {{2, 4}, {7, 0}},
                 LineBreak::Lf,
                 "y,z\n",
                 "line,text\r\n2,\"y,z\"\r\n"},
        ListCase{"lines_not_whole",
                 u"ab\r\ncd\r"_s,
                 Form::Pieces,
                 {{1, 1}, {4, 2}},
                 LineBreak::Lf,
                 "b\ncd\n",
                 "line,text\r\n1,b\r\n2,cd\r\n"},
        // The last word of a loaded text carries the appended CR.
        ListCase{"words",
                 u"a b\r\nc  d\r"_s,
                 Form::Words,
                 {{2, 1}, {7, 0}, {8, 2}},
                 LineBreak::Lf,
                 "b\n\nd\n",
                 "line,word,text\r\n1,2,b\r\n2,2,\r\n2,3,d\r\n"},
        ListCase{"a_line_of_nothing_but_the_appended_cr",
                 u"x\r\n\r"_s,
                 Form::Words,
                 {{0, 1}, {3, 1}},
                 LineBreak::CrLf,
                 "x\r\n",
                 "line,word,text\r\n1,1,x\r\n"},
        ListCase{"an_empty_word_before_the_appended_cr",
                 u"x \r"_s,
                 Form::Words,
                 {{2, 1}},
                 LineBreak::Lf,
                 "\n",
                 "line,word,text\r\n1,2,\r\n"}),
    [](const auto& named) { return std::string(named.param.name); });

// Hundreds of lines, a list of whole lines kept as a selection: each entry's number is its line's.
TEST_F(SavedPaneTest, ALongListOfLinesNumbersEachEntryByItsLine) {
    QString source;
    for (int line = 1; line <= 500; ++line)
        source += u"line "_s + QString::number(line) + u"\r\n"_s;
    source += u"\r"_s;
    ResultList::Builder builder(source, Form::Pieces);
    QByteArray text, csv = "line,text\r\n";
    qsizetype start = 0;
    for (int line = 1; line <= 500; ++line) {
        const qsizetype end = source.indexOf(u'\r', start);
        if (line % 7 == 3) {
            builder.Add({start, end - start});
            text += "line " + QByteArray::number(line) + "\n";
            csv += QByteArray::number(line) + ",line " + QByteArray::number(line) + "\r\n";
        }
        start = end + 1;
    }
    Pane pane;
    pane.AppendList(std::make_shared<const ResultList>(std::move(builder).Finish()));
    EXPECT_EQ(Saved(pane, SaveFormat::Text), text) << "typed text: the system's line break";
    EXPECT_EQ(Saved(pane, SaveFormat::CsvWithLineNumbers), csv);
}
