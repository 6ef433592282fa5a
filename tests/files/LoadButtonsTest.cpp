#include "DeviceNode.h"
#include "Finish.h"
#include "WindowFixture.h"

#include "app/MemoryBound.h"
#include "app/MousePointer.h"
#include "files/PaneLoaders.h"
#include "platform/Failure.h"
#include "platform/PaneWidget.h"

#include <QCoreApplication>
#include <QDir>
#include <QMimeData>
#include <QRadioButton>
#include <QUrl>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

class LoadButtonsTest : public WindowFixture {
protected:
    QString Report(int button, const QString& description, int line) {
        return description + u"\r\nin Tarnwick2021/08/31.Form1.PushButton"_s +
               QString::number(button) + u"_Click at line "_s + QString::number(line) +
               u"\r\rPlease email screenshot of this message to support@quillmere.example"_s;
    }

    void Drop(QWidget* target, const QStringList& paths) {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls.append(QUrl::fromLocalFile(path));
        mime.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
    }
};

} // namespace

TEST_F(LoadButtonsTest, SetsUpTheDialogInOrderAndACancelChangesNothing) {
    Form1& form = Start();
    form.RichTextBox1.SetText(u"kept"_s);
    form.PushButton3_Click();
    EXPECT_EQ(dialog.calls,
              (std::vector<QString>{
                  u"FileName="_s, u"Flags=2621953"_s,
                  u"DialogTitle=Load List(s) - Hold Ctrl to select multiple list files"_s,
                  u"Filter=Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"_s, u"ShowOpen"_s}));
    EXPECT_EQ(form.RichTextBox1.Text(), u"kept"_s);
    EXPECT_TRUE(form.Option2->isChecked());
    EXPECT_EQ(form.MousePointer(), MousePointer::Default);
    EXPECT_TRUE(box.shown.empty());
}

TEST_F(LoadButtonsTest, OneFileFillsItsPaneEndsWithCRAndShowsTheFullTexts) {
    Form1& form = Start();
    form.RichTextBox2.SetText(u"other side"_s);
    form.RichTextBox3.SetText(u"old results"_s);
    dialog.answers = {Write(u"one.txt"_s, "first\nsecond")};
    form.PushButton3_Click();
    EXPECT_EQ(form.RichTextBox1.Text(), u"first\r\nsecond\r"_s);
    EXPECT_TRUE(form.Option1->isChecked());
    EXPECT_TRUE(form.RichTextBox1.Visible());
    EXPECT_FALSE(form.RichTextBox3.Visible());
    EXPECT_EQ(form.RichTextBox2.Text(), u"other side"_s) << "the other panes are left alone";
    EXPECT_EQ(form.RichTextBox3.Text(), u"old results"_s);
    EXPECT_EQ(Setting(u"Option2"_s), u"False"_s);
    EXPECT_EQ(Setting(u"Option1"_s), u"True"_s);

    dialog.answers = {Write(u"empty.txt"_s, "")};
    form.PushButton4_Click();
    EXPECT_EQ(form.RichTextBox2.Text(), u"\r"_s);
}

TEST_F(LoadButtonsTest, SeveralFilesLoadInTurnAndTheLastOneStays) {
    Form1& form = Start();
    Write(u"a.txt"_s, "A");
    Write(u"b.txt"_s, "B");
    Write(u"c.txt"_s, "C");
    dialog.answers = {
        ScriptedFileDialog::Selection(programFolder.path(), {u"a.txt"_s, u"b.txt"_s, u"c.txt"_s})};
    form.PushButton4_Click();
    EXPECT_EQ(form.RichTextBox2.Text(), u"C\r"_s);
    EXPECT_TRUE(box.shown.empty());

    dialog.answers = {ScriptedFileDialog::Selection(programFolder.path() + QDir::separator(),
                                                    {u"a.txt"_s, u"gone.txt"_s})};
    form.PushButton4_Click();
    EXPECT_EQ(box.Texts(), std::vector<QString>{u"File not found"_s})
        << "a doubled separator after the folder is cleaned up; the missing file is named once";
    EXPECT_EQ(box.shown[0].style, 0);
    EXPECT_EQ(form.RichTextBox2.Text(), u"A\r"_s) << "the last file that existed stays";
}

TEST_F(LoadButtonsTest, AMissingFileLeavesTheCROnly) {
    Form1& form = Start();
    dialog.answers = {programFolder.filePath(u"typed.txt"_s)};
    form.PushButton3_Click();
    EXPECT_EQ(box.Texts(), std::vector<QString>{u"File not found"_s});
    EXPECT_EQ(form.RichTextBox1.Text(), u"\r"_s);
    EXPECT_TRUE(form.Option1->isChecked());
}

TEST_F(LoadButtonsTest, AFileThatCannotBeReadIsReportedAtTheCallingStatement) {
    Form1& form = Start();
    QDir(programFolder.path()).mkdir(u"folder.txt"_s);
    dialog.answers = {programFolder.filePath(u"folder.txt"_s)};
    form.PushButton3_Click();
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_TRUE(box.shown[0].text.endsWith(Report(3, QString(), 122).mid(2)))
        << box.shown[0].text.toStdString();
    EXPECT_EQ(form.RichTextBox1.Text(), u"\r"_s) << "the procedure went on";

    box.shown.clear();
    Write(u"good.txt"_s, "good");
    dialog.answers = {
        ScriptedFileDialog::Selection(programFolder.path(), {u"folder.txt"_s, u"good.txt"_s})};
    form.PushButton4_Click();
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_TRUE(box.shown[0].text.contains(u"PushButton4_Click at line 132"_s));
    EXPECT_EQ(form.RichTextBox2.Text(), u"good\r"_s) << "the loop went on with the next name";
}

// Only ordinary files are opened: a pipe no one writes to, a device or a broken link gets a report
// that says what it is, and the load neither waits nor reads without end.
TEST_F(LoadButtonsTest, WhatIsNoOrdinaryFileIsReportedWithoutWaiting) {
    Form1& form = Start();
    const QString fifo = programFolder.filePath(u"pipe.txt"_s);
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString dangling = programFolder.filePath(u"gone.txt"_s);
    ASSERT_TRUE(QFile::link(programFolder.filePath(u"nothing.txt"_s), dangling));
    std::vector<std::pair<QString, QString>> rows = {
        {fifo, fifo + u" is not an ordinary file"_s},
        {dangling, dangling + u" is a link to a file that does not exist"_s},
    };
    const QString zero = MakeDeviceIn(programFolder, u"zero.txt"_s, kZeroDevice);
    if (!zero.isEmpty()) // else making devices is not permitted here
        rows.emplace_back(zero, zero + u" is not an ordinary file"_s);
    for (const auto& [path, description] : rows) {
        box.shown.clear();
        dialog.answers = {path};
        form.PushButton3_Click();
        EXPECT_EQ(box.Texts(), std::vector<QString>{Report(3, description, 122)});
        EXPECT_EQ(form.RichTextBox1.Text(), u"\r"_s);
    }
}

TEST_F(LoadButtonsTest, EncodingsAndRichTextAreReadAsText) {
    Form1& form = Start();
    const struct {
        QByteArray bytes;
        QString text;
    } files[] = {
        {QByteArray("\xFF\xFE"
                    "h\0i\0\n\0",
                    8),
         u"hi\r\n\r"_s},
        {QByteArray("\xFE\xFF\0h\0i", 6), u"hi\r"_s},
        {QByteArray("caf\xE9 \x93quoted\x94"), u"caf\u00e9 \u201cquoted\u201d\r"_s},
        {QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Bold\\par line two}"),
         u"Bold\r\nline two\r"_s},
    };
    for (const auto& file : files) {
        dialog.answers = {Write(u"encoded.txt"_s, file.bytes)};
        form.PushButton3_Click();
        EXPECT_EQ(form.RichTextBox1.Text(), file.text);
    }
    EXPECT_TRUE(box.shown.empty());
}

TEST_F(LoadButtonsTest, FilesDroppedOnAFullPaneLoadAsTheButtonWould) {
    Form1& form = Start();
    const QString a = Write(u"a.txt"_s, "dropped a");
    const QString b = Write(u"b.txt"_s, "dropped b");
    Drop(form.ViewOf(form.RichTextBox2)->viewport(), {a});
    EXPECT_EQ(form.RichTextBox2.Text(), u"dropped a\r"_s);
    EXPECT_TRUE(form.Option1->isChecked());
    Drop(form.ViewOf(form.RichTextBox1)->viewport(), {a, b});
    EXPECT_EQ(form.RichTextBox1.Text(), u"dropped b\r"_s);
    EXPECT_TRUE(dialog.calls.empty()) << "no dialog for a drop";
}

TEST_F(LoadButtonsTest, ALoadDuringALineComparisonStopsIt) {
    Form1& form = Start();
    QString many;
    for (int i = 0; i < 3000; ++i)
        many += QString::number(i) + u"\r\n"_s;
    form.RichTextBox1.SetText(many);
    dialog.answers = {Write(u"new.txt"_s, "new")};
    bool loaded = false;
    pump.onPump = [&](int call) {
        if (!loaded && call == 2) { // while the lines are worked out
            loaded = true;
            form.PushButton3_Click();
        }
    };
    form.PushButton1_Click();
    EXPECT_EQ(form.RichTextBox1.Text(), u"new\r"_s);
    EXPECT_TRUE(box.shown.empty()) << "no Done. for a run that was stopped";
    EXPECT_FALSE(form.Busy());
    EXPECT_EQ(form.MousePointer(), MousePointer::Default);
}

// A text that cannot be held within what the window may hold is refused before it is read, with a
// report that names the file; one of the same size but fewer lines loads. With a small fixed part,
// a kilobyte of empty lines (each a CR LF and an index entry in the pane) is too much.
TEST_F(LoadButtonsTest, ATextThatCannotFitIsRefusedBeforeItIsRead) {
    const MemoryBound::ScopedFixedBytes small(MemoryBound::kProgramBytes);
    Form1& form = Start();
    Write(u"one-line.txt"_s, QByteArray(1000, 'x'));
    Write(u"empty-lines.txt"_s, QByteArray(1000, '\n'));
    dialog.answers = {programFolder.filePath(u"one-line.txt"_s)};
    form.PushButton3_Click();
    EXPECT_TRUE(box.shown.empty());
    EXPECT_EQ(form.RichTextBox1.Length(), 1001);

    form.RichTextBox2.SetText(u"kept"_s);
    dialog.answers = {programFolder.filePath(u"empty-lines.txt"_s)};
    form.PushButton4_Click();
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_TRUE(box.shown[0].text.startsWith(u"empty-lines.txt is too large for the memory"_s))
        << box.shown[0].text.toStdString();
    EXPECT_EQ(form.RichTextBox2.Text(), u"kept"_s) << "refused before the pane was emptied";
    EXPECT_EQ(form.MousePointer(), MousePointer::Default);

    box.shown.clear();
    form.RichTextBox2.SetText(u"kept"_s);
    EXPECT_THROW(Finish(RTB::LoadFileIn2(form.panes, programFolder.filePath(u"empty-lines.txt"_s),
                                         fileSystem, box, pump)),
                 Failure);
    EXPECT_EQ(form.RichTextBox2.Text(), u"kept"_s) << "the pane is left as it was";
}
