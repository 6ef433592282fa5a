// Knowing what one looks at: which file each side holds (the caption, the panes' tooltips), red
// marks that no longer fit the texts, F8 without a click first, and a folder that cannot be shown.
#include "Finish.h"
#include "WindowFixture.h"

#include "app/CommandLineStart.h"
#include "platform/PaneWidget.h"

#include <QDir>
#include <QHelpEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

class OrientationTest : public WindowFixture {
protected:
    // What the pane's tooltip says with the pointer at its top left corner.
    static QString Tooltip(Form1& form, const Pane& pane) {
        return form.ViewOf(pane)->TipAt(QPoint(2, 2));
    }

    QString Title() const { return window->windowTitle(); }
};

} // namespace

TEST(SideNamesTest, TheCaptionNamesBothSidesOnceEitherHoldsSomething) {
    const SideName empty, typed{SideName::Kind::Typed, {}};
    const SideName file{SideName::Kind::File, u"/home/u/report-old.txt"_s};
    const SideName other{SideName::Kind::File, u"/tmp/report-new.txt"_s};
    EXPECT_EQ(WindowTitle(empty, empty, u"Tarnwick"), u"Tarnwick"_s);
    EXPECT_EQ(WindowTitle(file, other, u"Tarnwick"),
              u"report-old.txt \u2194 report-new.txt \u2014 Tarnwick"_s);
    EXPECT_EQ(WindowTitle(typed, empty, u"Tarnwick"),
              u"(typed text) \u2194 (empty) \u2014 Tarnwick"_s);
    EXPECT_EQ(file.Origin(), u"/home/u/report-old.txt"_s);
    EXPECT_EQ(typed.Origin(), QString()) << "no path to give";
}

// Every way a file reaches a side names it: the button (one file or several, the last one
// staying), the samples, a drop, the command line.
TEST_F(OrientationTest, EachKindOfLoadNamesItsFileInTheCaptionAndBothPanesOfItsSide) {
    Form1& form = Start();
    EXPECT_EQ(Title(), u"Tarnwick"_s) << "before any load";
    const QString a = Write(u"a.txt"_s, "alpha\n"), b = Write(u"b.txt"_s, "beta\n");
    const QString c = Write(u"c.txt"_s, "gamma\n");

    dialog.answers = {a};
    form.PushButton3->click();
    EXPECT_EQ(Title(), u"a.txt \u2194 (empty) \u2014 Tarnwick"_s);
    EXPECT_TRUE(Tooltip(form, form.RichTextBox1).startsWith(a));
    EXPECT_TRUE(Tooltip(form, form.RichTextBox3).startsWith(a)) << "the list's pane too";

    dialog.answers = {
        ScriptedFileDialog::Selection(programFolder.path(), {u"b.txt"_s, u"c.txt"_s})};
    form.PushButton4->click();
    EXPECT_EQ(Title(), u"a.txt \u2194 c.txt \u2014 Tarnwick"_s) << "the last of several stays";
    EXPECT_TRUE(Tooltip(form, form.RichTextBox2).startsWith(QDir::cleanPath(c)))
        << Tooltip(form, form.RichTextBox2).toStdString();

    Finish(form.LoadDroppedFiles(2, {b}));
    EXPECT_EQ(Title(), u"a.txt \u2194 b.txt \u2014 Tarnwick"_s) << "dropped";

    Finish(OpenFromCommandLine(form, {{c, a}, WindowCommandLine::Comparison::None, {}}));
    EXPECT_EQ(Title(), u"c.txt \u2194 a.txt \u2014 Tarnwick"_s) << "from the command line";

    QDir(programFolder.path()).mkdir(u"Samples"_s);
    Write(u"Samples/sample1.txt"_s, "one\n");
    Write(u"Samples/sample2.txt"_s, "two\n");
    box.answers = {MsgBoxResult::No};
    form.PushButton9->click();
    EXPECT_EQ(Title(), u"sample1.txt \u2194 sample2.txt \u2014 Tarnwick"_s);

    form.PushButton7->click();
    EXPECT_EQ(Title(), u"Tarnwick"_s) << "cleared: nothing to name";
    EXPECT_FALSE(Tooltip(form, form.RichTextBox1).contains(u"sample1.txt"_s));
}

TEST_F(OrientationTest, TextTypedOrPastedIntoAnEmptySideIsCalledSo) {
    Form1& form = Start();
    form.ViewOf(form.RichTextBox2)->InsertText(u"pasted\nlines"_s);
    EXPECT_EQ(Title(), u"(empty) \u2194 (typed text) \u2014 Tarnwick"_s);
    const QString a = Write(u"a.txt"_s, "alpha\n");
    dialog.answers = {a};
    form.PushButton3->click();
    form.ViewOf(form.RichTextBox1)->InsertText(u"edited "_s, true);
    EXPECT_EQ(Title(), u"a.txt \u2194 (typed text) \u2014 Tarnwick"_s)
        << "an edited file is still that file";
    dialog.answers = {programFolder.filePath(u"missing.txt"_s)};
    form.PushButton3->click();
    EXPECT_EQ(Title(), u"(empty) \u2194 (typed text) \u2014 Tarnwick"_s)
        << "a load that found nothing leaves the side empty";
}

// After a comparison, each kind of change to either text leaves the red marks where they are, but
// faded, with a tooltip that says they are from before; a new comparison makes them current.
TEST_F(OrientationTest, MarksFromBeforeAChangeAreStaleUntilTheNextComparison) {
    const struct {
        const char* what;
        int changedSide;
        bool side2KeepsMarks; // a text given anew has none left to be stale
        std::function<void(Form1&)> change;
    } cases[] = {
        {"an edit of text #1", 1, true,
         [](Form1& form) {
             form.RichTextBox1.SetSelStart(0);
             form.ViewOf(form.RichTextBox1)->InsertText(u"x"_s, true);
         }},
        {"a paste into text #2", 2, true,
         [](Form1& form) {
             form.RichTextBox2.SetSelStart(0);
             form.ViewOf(form.RichTextBox2)->InsertText(u"pasted\nline\n"_s);
         }},
        {"a load into text #2", 2, false,
         [this](Form1& form) {
             dialog.answers = {Write(u"new.txt"_s, "new\n")};
             form.PushButton4->click();
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Form1& form = Start();
        form.RichTextBox1.SetText(u"same\r\none\r\n"_s);
        form.RichTextBox2.SetText(u"same\r\ntwo\r\n"_s);
        form.PushButton1->click();
        ASSERT_FALSE(form.RichTextBox1.Stale());
        c.change(form);
        const QString note =
            u"From before Text File #%1 changed: run Find Differences again"_s.arg(c.changedSide);
        EXPECT_TRUE(form.RichTextBox1.Stale());
        EXPECT_FALSE(form.RichTextBox1.RangesOf(kRed).empty()) << "the marks stay";
        EXPECT_TRUE(Tooltip(form, form.RichTextBox1).contains(note))
            << Tooltip(form, form.RichTextBox1).toStdString();
        EXPECT_EQ(form.RichTextBox2.Stale(), c.side2KeepsMarks);
        form.PushButton1->click();
        EXPECT_FALSE(form.RichTextBox1.Stale()) << "compared again";
        EXPECT_FALSE(Tooltip(form, form.RichTextBox1).contains(note));
        window.reset();
        box.shown.clear();
    }
    Form1& form = Start();
    form.RichTextBox1.SetText(u"one\r\n"_s);
    form.RichTextBox2.SetText(u"two\r\n"_s);
    form.PushButton6->click();
    form.PushButton7->click();
    EXPECT_FALSE(form.RichTextBox1.Stale()) << "cleared: no marks left";
}

// F8 acts on a full pane straight after "Done." and after a load, with the focus on a button.
TEST_F(OrientationTest, F8GoesToTheDifferencesWithoutAClickIntoAPane) {
    Form1& form = Start();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.RichTextBox1.SetText(u"same\r\none\r\nsame\r\nthree\r\n"_s);
    form.RichTextBox2.SetText(u"same\r\ntwo\r\n"_s);
    form.Option1->click();
    const auto selected = [](const Pane& pane) {
        return pane.Text().mid(pane.SelStart(), pane.SelLength());
    };
    form.PushButton1->setFocus();
    QTest::mouseClick(form.PushButton1, Qt::LeftButton);
    ASSERT_EQ(box.Texts(), std::vector<QString>{u"Done."_s});
    ASSERT_TRUE(form.PushButton1->hasFocus());
    form.RichTextBox1.SetSelStart(0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F8);
    EXPECT_TRUE(selected(form.RichTextBox1).contains(u"one"_s)) << "the first red line";
    EXPECT_TRUE(form.ViewOf(form.RichTextBox1)->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F8);
    EXPECT_TRUE(selected(form.RichTextBox1).contains(u"three"_s)) << "the next one";

    // The side whose pane had the focus last is the one F8 goes on with.
    form.ViewOf(form.RichTextBox2)->setFocus();
    form.PushButton3->setFocus();
    form.RichTextBox2.SetSelStart(0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down, Qt::AltModifier);
    EXPECT_TRUE(selected(form.RichTextBox2).contains(u"two"_s));
}

TEST_F(OrientationTest, ASampleFolderThatCannotBeShownIsNamedInAMessage) {
    QDir(programFolder.path()).mkdir(u"Samples"_s);
    Write(u"Samples/sample1.txt"_s, "one\n");
    Write(u"Samples/sample2.txt"_s, "two\n");
    Form1& form = Start();
    shell.noFileManager = true;
    box.answers = {MsgBoxResult::Yes};
    form.PushButton9->click();
    ASSERT_EQ(box.shown.size(), 2u);
    EXPECT_TRUE(box.shown[1].text.startsWith(u"The folder could not be opened"_s));
    EXPECT_TRUE(box.shown[1].text.contains(QDir::toNativeSeparators(programFolder.path())))
        << box.shown[1].text.toStdString();
}
