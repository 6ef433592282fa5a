#include "WindowFixture.h"

#include "app/FormLayout.h"
#include "app/MousePointer.h"
#include "platform/PaneWidget.h"
#include "platform/QtProcessControl.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

class WindowTest : public WindowFixture {
protected:
    void Enter(QWidget* widget) {
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QCoreApplication::sendEvent(widget, &enter);
    }
};

} // namespace

TEST_F(WindowTest, EveryControlStandsWhereTheLayoutPutsIt) {
    Form1& form = Start();
    EXPECT_EQ(form.size(), QSize(536, 548));
    EXPECT_EQ(form.minimumSize(), form.maximumSize()) << "the user cannot resize the window";
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    for (const FormLayout::Control& design : FormLayout::Controls()) {
        SCOPED_TRACE(design.name.toString().toStdString());
        QWidget* control = form.Control(design.name);
        ASSERT_NE(control, nullptr);
        if (design.name != u"RichTextBox3" && design.name != u"RichTextBox4") {
            EXPECT_EQ(control->geometry(), FormLayout::PixelRect(design));
        }
        if (!design.caption.isEmpty()) {
            const QString shown = control->property("title").isValid()
                                      ? control->property("title").toString()
                                      : control->property("text").toString();
            EXPECT_EQ(shown, design.caption.toString());
        }
    }
    EXPECT_EQ(form.PushButton1->font().pointSizeF(), 11.25);
    EXPECT_TRUE(form.PushButton1->font().bold());
    EXPECT_EQ(form.Frame1->font().pointSizeF(), 9.0);
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
    EXPECT_EQ(pump.calls, 2) << "once at its start, and while the words are worked out";
    EXPECT_EQ(pump.asides, 1);
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
                               [] { return 0.0; }});
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
