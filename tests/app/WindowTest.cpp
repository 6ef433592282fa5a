#include "WindowFixture.h"

#include "app/MousePointer.h"
#include "platform/PaneWidget.h"
#include "platform/QtProcessControl.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// The window as designed, in twips (1/1440 inch), with the caption and font size of each control.
struct DesignedControl {
    QStringView name;
    QStringView container; // empty: the window itself
    QStringView caption;
    int left, top, width, height;
    int tabIndex;
    double points;
};

constexpr DesignedControl kDesign[] = {
    {u"Frame1", u"", u"Text File #1", 120, 120, 3840, 4815, 13, 9},
    {u"Frame3", u"", u"Text File #2", 4080, 120, 3840, 4815, 14, 9},
    {u"RichTextBox1", u"Frame1", u"", 240, 300, 3360, 4335, 0, 9},
    {u"RichTextBox3", u"Frame1", u"", 240, 300, 3360, 1215, 15, 9},
    {u"RichTextBox2", u"Frame3", u"", 240, 300, 3360, 4335, 1, 9},
    {u"RichTextBox4", u"Frame3", u"", 240, 300, 3360, 1215, 16, 9},
    {u"PushButton3", u"", u"Load Text File #1", 120, 5050, 3840, 405, 2, 11.25},
    {u"PushButton4", u"", u"Load Text File #2", 4080, 5050, 3840, 405, 3, 11.25},
    {u"PushButton2", u"", u"Save Results #1", 120, 5560, 3840, 405, 4, 11.25},
    {u"PushButton5", u"", u"Save Results #2", 4080, 5560, 3840, 405, 5, 11.25},
    {u"PushButton7", u"", u"Clear Text Above", 120, 6070, 3840, 405, 6, 11.25},
    {u"PushButton9", u"", u"Load Sample/Example Files", 4080, 6070, 3840, 405, 7, 11.25},
    {u"PushButton1", u"", u"Find Differences (Lines)", 120, 6580, 3840, 405, 8, 11.25},
    {u"PushButton6", u"", u"Find Differences (Words)", 4080, 6580, 3840, 405, 10, 11.25},
    {u"Frame2", u"", u"Display Options (Use after clicking Start buttons)", 120, 7050, 7800, 1065,
     9, 9},
    {u"Option2", u"Frame2", u"Display only the lines with differences", 240, 300, 5655, 255, 11, 9},
    {u"Option1", u"Frame2", u"Display all lines but highlight the lines with differences", 240, 650,
     7455, 255, 12, 9},
};

// 15 twips make a pixel at 96 dots per inch.
int Pixels(int twips) {
    return static_cast<int>(std::lround(twips / 15.0));
}

QString CaptionOf(QWidget* control) {
    if (auto* frame = qobject_cast<QGroupBox*>(control))
        return frame->title();
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->text();
    return {};
}

class WindowTest : public WindowFixture {
protected:
    void Enter(QWidget* widget) {
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QCoreApplication::sendEvent(widget, &enter);
    }
};

} // namespace

TEST_F(WindowTest, TheWindowHasItsDesignSizeAndCannotBeResized) {
    Form1& form = Start();
    EXPECT_EQ(form.centralWidget()->size(), QSize(Pixels(8040), Pixels(8220)));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(form.centralWidget()->palette().color(QPalette::Window), QColor(Qt::white));
}

TEST_F(WindowTest, EveryControlStandsInItsContainerWithItsDesignPlaceCaptionAndFont) {
    Form1& form = Start();
    for (const DesignedControl& design : kDesign) {
        SCOPED_TRACE(design.name.toString().toStdString());
        QWidget* control = form.Control(design.name);
        ASSERT_NE(control, nullptr);
        QWidget* container =
            design.container.isEmpty() ? form.centralWidget() : form.Control(design.container);
        EXPECT_EQ(control->parentWidget(), container);
        // Once shown, the result panes lie over the full panes (their design height was 1215).
        const int height = design.height == 1215 ? 4335 : design.height;
        EXPECT_EQ(control->geometry(), QRect(Pixels(design.left), Pixels(design.top),
                                             Pixels(design.width), Pixels(height)));
        EXPECT_EQ(CaptionOf(control), design.caption.toString());
        EXPECT_EQ(control->font().family(), u"Arial"_s);
        EXPECT_EQ(control->font().pointSizeF(), design.points);
        EXPECT_TRUE(control->font().bold());
    }
}

TEST_F(WindowTest, BeforeTheWindowIsShownTheResultPanesHaveTheirDesignHeight) {
    Form1 form(Desktop{box, dialog, settings, shell, fileSystem, pump, process, random, rulesDialog,
                       [] { return 0.0; }});
    EXPECT_EQ(form.ViewOf(form.RichTextBox3)->height(), Pixels(1215));
    EXPECT_EQ(form.ViewOf(form.RichTextBox4)->height(), Pixels(1215));
    EXPECT_EQ(form.RichTextBox3.Text(), u"RichTextBox3"_s) << "the design placeholder";
    EXPECT_TRUE(form.Option2->isChecked());
}

// The keyboard goes through the controls in the order of their tab indexes; the frames take no
// focus of their own.
TEST_F(WindowTest, TheKeyboardVisitsTheControlsInTheirTabOrder) {
    Form1& form = Start();
    std::vector<const DesignedControl*> byTabIndex;
    for (const DesignedControl& design : kDesign)
        byTabIndex.push_back(&design);
    std::ranges::sort(byTabIndex, {}, &DesignedControl::tabIndex);
    QStringList expected;
    for (const DesignedControl* design : byTabIndex)
        if (form.Control(design->name)->focusPolicy() & Qt::TabFocus)
            expected.append(design->name.toString());
    ASSERT_EQ(expected.size(), 14) << "every pane, button and option takes the focus";

    QStringList visited;
    QWidget* first = form.Control(expected.first());
    QWidget* widget = first;
    do {
        if (expected.contains(widget->objectName()) && !visited.contains(widget->objectName()))
            visited.append(widget->objectName());
        widget = widget->nextInFocusChain();
    } while (widget != first);
    EXPECT_EQ(visited.join(u' ').toStdString(), expected.join(u' ').toStdString());
}

TEST_F(WindowTest, ResultPanesLieExactlyOverTheFullPanes) {
    Form1& form = Start();
    EXPECT_EQ(form.ViewOf(form.RichTextBox3)->geometry(),
              form.ViewOf(form.RichTextBox1)->geometry());
    EXPECT_EQ(form.ViewOf(form.RichTextBox4)->geometry(),
              form.ViewOf(form.RichTextBox2)->geometry());
    EXPECT_EQ(form.ViewOf(form.RichTextBox1)->geometry(), QRect(16, 20, 224, 289));
    form.showMinimized();
    form.showNormal();
    EXPECT_EQ(form.ViewOf(form.RichTextBox3)->geometry(), QRect(16, 20, 224, 289));
}

TEST_F(WindowTest, TheHandShowsOverButtonsAndTheHourglassOverEverything) {
    Form1& form = Start();
    Enter(form.PushButton3);
    EXPECT_EQ(form.MousePointer(), MousePointer::Custom);
    EXPECT_EQ(form.cursor().shape(), Qt::PointingHandCursor) << "no hand file: the platform's hand";
    Enter(form.ViewOf(form.RichTextBox3)->viewport());
    EXPECT_EQ(form.MousePointer(), MousePointer::Default);
    Enter(form.PushButton9);
    Enter(form.centralWidget());
    EXPECT_EQ(form.MousePointer(), MousePointer::Default);
    Enter(form.Option1);
    EXPECT_EQ(form.MousePointer(), MousePointer::Default);

    form.SetMousePointer(MousePointer::Hourglass);
    for (QWidget* over : {static_cast<QWidget*>(form.PushButton1), form.centralWidget(),
                          static_cast<QWidget*>(form.Frame2)}) {
        Enter(over);
        EXPECT_EQ(form.MousePointer(), MousePointer::Hourglass);
    }
    EXPECT_EQ(form.ViewOf(form.RichTextBox1)->viewport()->cursor().shape(), Qt::WaitCursor);
}

TEST_F(WindowTest, FindLinesRunsFromItsButtonAndSaysDone) {
    Form1& form = Start();
    form.RichTextBox1.SetText(u"a\r\nb\r"_s);
    form.RichTextBox2.SetText(u"a\r\nc\r"_s);
    int pointerWhileDone = -1;
    box.onShow = [&](const ScriptedMsgBox::Shown&) { pointerWhileDone = form.MousePointer(); };
    QTest::mouseClick(form.PushButton1, Qt::LeftButton);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, u"Done."_s);
    EXPECT_EQ(box.shown[0].style, 0);
    EXPECT_FALSE(box.shown[0].caption.has_value()) << "the application title shows";
    EXPECT_EQ(pointerWhileDone, MousePointer::Hourglass);
    EXPECT_EQ(form.MousePointer(), MousePointer::Default);
    EXPECT_FALSE(form.Busy());
    EXPECT_EQ(form.RichTextBox3.Text(), u"\nb\r"_s);
    EXPECT_EQ(form.RichTextBox4.Text(), u"\nc\r"_s);
}

TEST_F(WindowTest, FindWordsSetsThePointerBackBeforeDone) {
    Form1& form = Start();
    form.RichTextBox1.SetText(u"one two\r\n"_s);
    form.RichTextBox2.SetText(u"one 2\r\n"_s);
    int pointerWhileDone = -1;
    box.onShow = [&](const ScriptedMsgBox::Shown&) { pointerWhileDone = form.MousePointer(); };
    QTest::mouseClick(form.PushButton6, Qt::LeftButton);
    EXPECT_EQ(box.Texts(), std::vector<QString>{u"Done."_s});
    EXPECT_EQ(pointerWhileDone, MousePointer::Default);
    EXPECT_EQ(form.RichTextBox3.Text(), u"\r\ntwo"_s);
    EXPECT_EQ(pump.calls, 4) << "once at its start, while the words are worked out, and while the "
                                "look-alikes of each side are counted";
    EXPECT_EQ(pump.asides, 3);
}

TEST_F(WindowTest, ClicksOnEitherComparisonAreIgnoredWhileOneRuns) {
    Form1& form = Start();
    form.RichTextBox1.SetText(u"x\r"_s);
    pump.onPump = [&](int call) {
        if (call != 1)
            return;
        EXPECT_TRUE(form.Busy());
        form.PushButton1->click();
        form.PushButton6->click();
        EXPECT_EQ(form.MousePointer(), MousePointer::Default) << "the hourglass comes after";
    };
    form.PushButton1->click();
    EXPECT_EQ(box.Texts(), std::vector<QString>{u"Done."_s}) << "one run, one Done.";
    EXPECT_EQ(form.RichTextBox3.Text(), u"x\r\r"_s) << "x, and the empty last piece";
}

TEST_F(WindowTest, ClosingTheWindowEndsTheProgramEvenDuringAComparison) {
    Form1& form = Start();
    pump.onPump = [&](int) { form.close(); };
    form.PushButton1->click();
    EXPECT_EQ(process.endCalls, 1);
}

// With the real process control the program ends there and then: no "Done." follows.
TEST_F(WindowTest, ClosingDuringAComparisonEndsTheProcessAtOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QtProcessControl realEnd;
    EXPECT_EXIT(
        {
            Form1 form(Desktop{box, dialog, settings, shell, fileSystem, pump, realEnd, random,
                               rulesDialog, [] { return 0.0; }});
            form.Form_Load();
            form.show();
            form.RichTextBox1.SetText(u"x\r"_s);
            pump.onPump = [&](int) { form.close(); };
            box.onShow = [](const ScriptedMsgBox::Shown&) { std::_Exit(3); };
            form.PushButton1->click();
            std::_Exit(4);
        },
        ::testing::ExitedWithCode(0), "");
}
