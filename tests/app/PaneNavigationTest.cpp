#include "WindowFixture.h"

#include "platform/LineNumberGutter.h"
#include "platform/PaneWidget.h"

#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

enum class Mode { Lines, Words };

class PaneNavigationTest : public WindowFixture {
protected:
    void Compare(Form1& form, const QString& one, const QString& two, Mode mode) {
        form.RichTextBox1.SetText(one);
        form.RichTextBox2.SetText(two);
        QTest::mouseClick(mode == Mode::Lines ? form.PushButton1 : form.PushButton6,
                          Qt::LeftButton);
        ASSERT_EQ(box.Texts().back(), u"Done."_s);
    }

    static std::vector<qsizetype> Numbers(PaneWidget* view) {
        std::vector<qsizetype> numbers;
        for (const LineNumberGutter::Label& label : view->Gutter()->Labels())
            numbers.push_back(label.number);
        return numbers;
    }

    // Triggers the action of that name in the pane's context menu.
    static void Choose(PaneWidget* view, const QString& name) {
        std::unique_ptr<QMenu> menu(view->CreateContextMenu());
        for (QAction* action : menu->actions())
            if (action->text() == name)
                return action->trigger();
        ADD_FAILURE() << "no " << name.toStdString() << " in the menu";
    }

    // Every pane of the window shows line numbers, or none does.
    static bool LineNumbersShown(Form1& form) {
        int shown = 0;
        for (const Pane* pane :
             {&form.RichTextBox1, &form.RichTextBox2, &form.RichTextBox3, &form.RichTextBox4})
            shown += form.ViewOf(*pane)->Gutter() != nullptr;
        EXPECT_TRUE(shown == 0 || shown == 4);
        return shown == 4;
    }
};

// A text of `count` lines, "line 1" to "line N", each ended as `end` says.
QString Numbered(int count, const QString& end, int skipped = 0) {
    QString text;
    for (int i = 1; i <= count; ++i)
        if (i != skipped)
            text += u"line "_s + QString::number(i) + end;
    return text;
}

} // namespace

// Each entry of a list is numbered by the line it stands on in its file, whatever breaks the file
// has. A list whose entries hold breaks of their own is spelled out as text and numbered nowhere.
TEST_F(PaneNavigationTest, TheListsNumberTheirEntriesByTheLinesOfTheirFile) {
    const struct {
        const char* what;
        Mode mode;
        QString one, two;
        std::vector<qsizetype> numbers;
    } cases[] = {
        {"lines, CR LF", Mode::Lines, u"a\r\n\r\nb\r\nc\r\nd\r"_s, u"a\r\nc\r"_s, {3, 5}},
        {"lines, CR", Mode::Lines, u"a\rb\rc\rd\r"_s, u"a\rc\r"_s, {2, 4}},
        {"lines, LF: one piece with breaks inside", Mode::Lines, u"a\nb\nc\r"_s, u"a\r"_s, {}},
        {"words, CR LF",
         Mode::Words,
         u"a b\r\nc d\r\ne f\r\n"_s,
         u"a b\r\nc x\r\ne y\r\n"_s,
         {2, 3}},
        {"words, CR", Mode::Words, u"a b\rc d \re f"_s, u"a b\rc x \re f"_s, {2}},
        {"words, LF", Mode::Words, u"a b\nc d \ne f g"_s, u"a b\nc x \ne f"_s, {2, 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Form1& form = Start();
        Compare(form, c.one, c.two, c.mode);
        EXPECT_EQ(Numbers(form.ViewOf(form.RichTextBox3)), c.numbers);
        window.reset();
    }
}

// The numbers hold for a long file scrolled to its end, and once the file is edited the list goes
// on numbering by the text it was found in.
TEST_F(PaneNavigationTest, ListNumbersHoldFarDownAndAfterTheFileIsEdited) {
    Form1& form = Start();
    Compare(form, Numbered(30'000, u"\r\n"_s), Numbered(30'000, u"\r\n"_s, 29'990), Mode::Lines);
    PaneWidget* list = form.ViewOf(form.RichTextBox4);
    EXPECT_EQ(Numbers(list), std::vector<qsizetype>{}) << "file #2 lacks nothing of file #1";
    list = form.ViewOf(form.RichTextBox3);
    EXPECT_EQ(Numbers(list), std::vector<qsizetype>{29'990});
    EXPECT_EQ(list->Gutter()->Digits(), 5);
    form.RichTextBox1.Edit(0, 0, u"new\r\n"_s);
    list->viewport()->update();
    EXPECT_EQ(Numbers(list), std::vector<qsizetype>{29'990});
}

// Enter or a double-click on an entry shows the full texts with the entry selected in the middle of
// its pane; Ctrl+L, or the full pane's menu, goes back to the lists.
TEST_F(PaneNavigationTest, AnEntryLeadsToItsPlaceAndBack) {
    const QString one = Numbered(300, u"\r\n"_s);
    QString two = Numbered(300, u"\r\n"_s, 150);
    two.replace(u"line 40\r\n"_s, u"line forty\r\n"_s);
    const struct {
        const char* what;
        Mode mode;
        bool byEnter;
        qsizetype entryLine; // in the list
        QString selected;
        qsizetype line; // in the full text, from 1
    } cases[] = {
        {"a line, by Enter", Mode::Lines, true, 1, u"line 40"_s, 40},
        {"a line, by double-click", Mode::Lines, false, 2, u"line 150"_s, 150},
        {"a word, by Enter", Mode::Words, true, 1, u"40"_s, 40},
        {"a word, by double-click", Mode::Words, false, 2, u"150"_s, 150},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Form1& form = Start();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form)) << "for the window's shortcut";
        Compare(form, one, two, c.mode);
        ASSERT_TRUE(form.Option2->isChecked());
        PaneWidget* list = form.ViewOf(form.RichTextBox3);
        const qsizetype at = form.RichTextBox3.Content().LineStart(c.entryLine);
        if (c.byEnter) {
            form.RichTextBox3.Select(at, at);
            QTest::keyClick(list, Qt::Key_Return);
        } else {
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                               list->CaretBox(at).center().toPoint() + QPoint(3, 0));
        }
        EXPECT_TRUE(form.Option1->isChecked());
        EXPECT_TRUE(form.RichTextBox1.Visible());
        EXPECT_FALSE(form.RichTextBox3.Visible());
        EXPECT_EQ(Setting(u"Option1"_s), u"True"_s);
        const Pane& full = form.RichTextBox1;
        EXPECT_EQ(full.Content().Mid(full.SelStart(), full.SelStart() + full.SelLength()),
                  c.selected);
        EXPECT_EQ(full.Content().LineAt(full.SelStart()) + 1, c.line);
        PaneWidget* view = form.ViewOf(form.RichTextBox1);
        const QRectF shown = view->CaretBox(full.SelStart());
        ASSERT_FALSE(shown.isEmpty());
        EXPECT_NEAR(shown.center().y(), view->viewport()->height() / 2.0, shown.height());
        EXPECT_EQ(form.RichTextBox3.Text().isEmpty(), false) << "the list is untouched";
        QTest::keyClick(view, Qt::Key_L, Qt::ControlModifier);
        EXPECT_TRUE(form.Option2->isChecked());
        EXPECT_TRUE(form.RichTextBox3.Visible());
        EXPECT_EQ(Setting(u"Option2"_s), u"True"_s);
        QTest::mouseClick(form.Option1, Qt::LeftButton);
        Choose(view, u"Back to the Lists"_s);
        EXPECT_TRUE(form.RichTextBox3.Visible()) << "from the full pane's menu";
        window.reset();
    }
}

// Where the list no longer stands in its file (the file was edited), or stands nowhere (spelled
// out), or the line shows no entry, Enter changes nothing.
TEST_F(PaneNavigationTest, EnterLeadsNowhereWithoutAPlaceToGoTo) {
    const struct {
        const char* what;
        QString one, two;
        std::function<void(Form1&)> after;
        qsizetype line; // of the list
    } cases[] = {
        {"the file was edited", u"a\r\nb\r"_s, u"a\r"_s,
         [](Form1& form) { form.RichTextBox1.Edit(0, 0, u"x"_s); }, 1},
        {"an entry with breaks inside", u"a\nb\r"_s, u"a\r"_s, [](Form1&) {}, 0},
        {"the line before the first entry", u"a\r\nb\r"_s, u"a\r"_s, [](Form1&) {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Form1& form = Start();
        Compare(form, c.one, c.two, Mode::Lines);
        c.after(form);
        const QString list = form.RichTextBox3.Text();
        const qsizetype at = form.RichTextBox3.Content().LineStart(c.line);
        form.RichTextBox3.Select(at, at);
        QTest::keyClick(form.ViewOf(form.RichTextBox3), Qt::Key_Return);
        EXPECT_TRUE(form.Option2->isChecked());
        EXPECT_TRUE(form.RichTextBox3.Visible());
        window.reset();
    }
}

// Line numbers are on at a first start; switched off from any pane's menu they stay off at the
// next start, and on again likewise. Nothing is stored until the user switches.
TEST_F(PaneNavigationTest, TheLineNumbersSwitchIsRemembered) {
    Form1& form = Start();
    EXPECT_TRUE(LineNumbersShown(form));
    EXPECT_EQ(Setting(u"LineNumbers"_s), u"<absent>"_s);
    Choose(form.ViewOf(form.RichTextBox4), u"Line Numbers"_s);
    EXPECT_FALSE(LineNumbersShown(form));
    EXPECT_EQ(Setting(u"LineNumbers"_s), u"False"_s);
    window.reset();
    Form1& again = Start();
    EXPECT_FALSE(LineNumbersShown(again));
    Choose(again.ViewOf(again.RichTextBox1), u"Line Numbers"_s);
    EXPECT_TRUE(LineNumbersShown(again));
    EXPECT_EQ(Setting(u"LineNumbers"_s), u"True"_s);
    window.reset();
    PresetSetting(u"LineNumbers"_s, u"not a Boolean"_s);
    EXPECT_TRUE(LineNumbersShown(Start())) << "an unreadable value counts as never stored";
    EXPECT_TRUE(ErrorReports().empty());
    settings.failWrites = true;
    Choose(window->ViewOf(window->RichTextBox2), u"Line Numbers"_s);
    EXPECT_FALSE(LineNumbersShown(*window)) << "switched even where it cannot be stored";
}
