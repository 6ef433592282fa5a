// Long jobs and what the user does while they run: each job shows what it found only on the texts
// it read, input is handled at once or refused out loud, and nothing waits inside another
// procedure. The work beside the window is held until the test lets it go, so every order of
// events can be played the same way on every run.
#include "GatedEventPump.h"
#include "WindowFixture.h"

#include "app/MousePointer.h"
#include "platform/PaneWidget.h"

#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Click = Task<> (Form1::*)();

class JobOwnershipTest : public WindowFixture {
protected:
    ~JobOwnershipTest() override { gated.ReleaseAll(); }

    Form1& StartGated() {
        Form1& form = Start(&gated);
        form.RichTextBox1.SetText(u"same\r\none\r\n"_s);
        form.RichTextBox2.SetText(u"same\r\ntwo\r\n"_s);
        form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        return form;
    }

    static bool AnyRed(const Pane& pane) { return !pane.RangesOf(kRed).empty(); }

    GatedEventPump gated;
};

struct Comparison {
    const char* name;
    Click click;
};

constexpr Comparison kComparisons[] = {{"lines", &Form1::PushButton1_Click},
                                       {"words", &Form1::PushButton6_Click}};

} // namespace

// Whatever the user does while a comparison works, the window ends ready for the next command,
// and shows no result on a text that was not the one compared.
TEST_F(JobOwnershipTest, WhatTheUserDoesDuringAComparisonIsHandledAtOnce) {
    const struct {
        const char* what;
        std::function<void(Form1&)> act;
        std::function<void(Form1&)> check;
    } cases[] = {
        {"Esc: what was found so far stays, with no Done.",
         [this](Form1& form) { QTest::keyClick(&form, Qt::Key_Escape); },
         [this](Form1& form) {
             EXPECT_TRUE(box.shown.empty());
             EXPECT_EQ(form.RichTextBox1.Text(), u"same\r\none\r\n"_s);
         }},
        {"typing in text #1: the marks would not fit it, so none are shown",
         [this](Form1& form) {
             form.RichTextBox1.SetSelStart(0);
             form.ViewOf(form.RichTextBox1)->InsertText(u"x"_s, true);
         },
         [this](Form1& form) {
             EXPECT_TRUE(box.shown.empty());
             EXPECT_EQ(form.RichTextBox1.Text(), u"xsame\r\none\r\n"_s) << "the typing stays";
             EXPECT_FALSE(AnyRed(form.RichTextBox1));
             EXPECT_FALSE(AnyRed(form.RichTextBox2));
         }},
        {"clearing: the panes stay empty", [this](Form1& form) { form.PushButton7->click(); },
         [this](Form1& form) {
             EXPECT_TRUE(box.shown.empty());
             for (const Pane* pane :
                  {&form.RichTextBox1, &form.RichTextBox2, &form.RichTextBox3, &form.RichTextBox4})
                 EXPECT_EQ(pane->Text(), QString());
         }},
        {"loading text #2, which is in before the comparison ends",
         [this](Form1& form) {
             dialog.answers = {Write(u"new.txt"_s, "fresh")};
             form.PushButton4->click();
             ASSERT_EQ(gated.Waiting(), 2u);
             gated.Release(1); // the load
         },
         [this](Form1& form) {
             EXPECT_TRUE(box.shown.empty()) << "no Done. for a run whose text was replaced";
             EXPECT_EQ(form.RichTextBox2.Text(), u"fresh\r"_s);
             EXPECT_FALSE(AnyRed(form.RichTextBox2));
         }},
        {"loading text #2, which is in after the comparison ends",
         [this](Form1& form) {
             dialog.answers = {Write(u"new.txt"_s, "fresh")};
             form.PushButton4->click();
             ASSERT_EQ(gated.Waiting(), 2u);
             gated.Release(0); // the comparison, which the load's emptying of the pane stopped
         },
         [this](Form1& form) {
             EXPECT_TRUE(box.shown.empty()) << "no Done. for a run whose text was replaced";
             EXPECT_EQ(form.RichTextBox2.Text(), u"fresh\r"_s);
             EXPECT_FALSE(AnyRed(form.RichTextBox1));
             EXPECT_FALSE(AnyRed(form.RichTextBox2));
         }},
        {"closing the window ends the program", [this](Form1& form) { form.close(); },
         [this](Form1&) { EXPECT_EQ(process.endCalls, 1); }},
    };
    for (const Comparison& comparison : kComparisons) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(comparison.name) + ", " + c.what);
            Form1& form = StartGated();
            form.RichTextBox3.SetText(u"old"_s);
            (form.*comparison.click)();
            ASSERT_EQ(gated.Waiting(), 1u) << "the comparison works aside";
            EXPECT_TRUE(form.Busy());
            c.act(form);
            gated.ReleaseAll();
            c.check(form);
            EXPECT_FALSE(form.Busy());
            EXPECT_EQ(form.MousePointer(), MousePointer::Default);
            box.shown.clear();
            process.endCalls = 0;
            window.reset();
        }
    }
}

// While a file loads into a pane, typing there is refused (it would be lost to the file, or the
// file to it); the other pane takes typing as ever, and the loaded pane does once the file is in.
TEST_F(JobOwnershipTest, APaneBeingLoadedRefusesEditsUntilTheFileIsIn) {
    Form1& form = StartGated();
    dialog.answers = {Write(u"new.txt"_s, "fresh")};
    form.PushButton3->click();
    ASSERT_EQ(gated.Waiting(), 1u);
    PaneWidget* loading = form.ViewOf(form.RichTextBox1);
    loading->InsertText(u"typed"_s, true);
    form.RichTextBox1.Edit(0, 0, u"typed"_s);
    EXPECT_EQ(form.RichTextBox1.Text(), QString()) << "emptied for the load, and nothing typed";
    form.ViewOf(form.RichTextBox2)->InsertText(u"x"_s, true);
    EXPECT_EQ(form.RichTextBox2.Text(), u"xsame\r\ntwo\r\n"_s);
    gated.Release();
    EXPECT_EQ(form.RichTextBox1.Text(), u"fresh\r"_s);
    loading->InsertText(u"!"_s, true);
    EXPECT_EQ(form.RichTextBox1.Text(), u"!fresh\r"_s);
}

// A later load into the same side, or clearing, takes the place of a load under way: its file
// never shows, whichever ends first.
TEST_F(JobOwnershipTest, ALaterLoadOrAClearSupersedesALoadUnderWay) {
    for (const bool earlierEndsFirst : {true, false}) {
        SCOPED_TRACE(earlierEndsFirst ? "the earlier load ends first" : "the later ends first");
        Form1& form = StartGated();
        dialog.answers = {Write(u"first.txt"_s, "first")};
        form.PushButton3->click();
        dialog.answers = {Write(u"second.txt"_s, "second")};
        form.PushButton3->click();
        ASSERT_EQ(gated.Waiting(), 2u);
        gated.Release(earlierEndsFirst ? 0 : 1);
        gated.ReleaseAll();
        EXPECT_EQ(form.RichTextBox1.Text(), u"second\r"_s);
        EXPECT_TRUE(box.shown.empty());
        window.reset();
    }
    Form1& form = StartGated();
    dialog.answers = {Write(u"first.txt"_s, "first")};
    form.PushButton3->click();
    form.PushButton7->click();
    gated.ReleaseAll();
    EXPECT_EQ(form.RichTextBox1.Text(), QString()) << "cleared after the load was asked for";
    EXPECT_EQ(form.MousePointer(), MousePointer::Default);
}

// A comparison or a save asked for while a file loads waits for it: it works on what the user
// sees once the file is in.
TEST_F(JobOwnershipTest, ACommandThatReadsThePanesWaitsForTheLoadsUnderWay) {
    Form1& form = StartGated();
    dialog.answers = {Write(u"new.txt"_s, "same\r\nthree\r\n")};
    form.PushButton4->click();
    form.PushButton1->click();
    ASSERT_EQ(gated.Waiting(), 1u) << "only the load: the comparison waits for it";
    EXPECT_TRUE(form.Busy());
    gated.Release();
    ASSERT_EQ(gated.Waiting(), 1u) << "now the comparison";
    gated.Release();
    EXPECT_EQ(box.Texts(), std::vector<QString>{u"Done."_s});
    EXPECT_TRUE(form.RichTextBox4.Text().contains(u"three"_s)) << "the loaded text was compared";
    ASSERT_EQ(gated.Waiting(), 1u) << "the notes on the lines, after the comparison";
    gated.Release();

    dialog.answers = {Write(u"next.txt"_s, "next")};
    form.PushButton3->click();
    const QString saved = programFolder.filePath(u"saved.txt"_s);
    dialog.answers = {saved};
    form.PushButton2->click();
    ASSERT_EQ(gated.Waiting(), 1u) << "only the load: the save waits for it";
    gated.ReleaseAll();
    EXPECT_EQ(Read(saved), QByteArray("next")) << "the file as it was loaded";
}

// The count of the words' look-alikes comes after the comparison; it reaches the pane's summary
// only if the pane still shows those red words on the same texts.
TEST_F(JobOwnershipTest, AWordLookalikeCountIsDroppedOnceItsMarksAreGone) {
    const auto runWords = [&](Form1& form) {
        form.RichTextBox1.SetText(u"one Two\r\n"_s);
        form.RichTextBox2.SetText(u"one two\r\n"_s);
        form.PushButton6->click();
        gated.Release(); // the passes; the counts are held now
        ASSERT_EQ(gated.Waiting(), 2u);
    };
    const QString counted = u"1 word of this text is not supplied by its partner line in Text "
                            u"File #2, a look-alike"_s;
    {
        Form1& form = Start(&gated);
        runWords(form);
        gated.ReleaseAll();
        EXPECT_EQ(form.RichTextBox1.Summary(), counted) << "the count, when nothing came between";
        window.reset();
    }
    {
        Form1& form = Start(&gated);
        runWords(form);
        form.PushButton1->click(); // the lines, while the words' look-alikes are counted
        gated.Release(2);
        EXPECT_TRUE(form.RichTextBox1.Summary().startsWith(u"1 line of this text"_s));
        gated.ReleaseAll();
        EXPECT_TRUE(form.RichTextBox1.Summary().startsWith(u"1 line of this text"_s))
            << form.RichTextBox1.Summary().toStdString();
        window.reset();
    }
    {
        Form1& form = Start(&gated);
        runWords(form);
        form.ViewOf(form.RichTextBox2)->InsertText(u"x"_s, true);
        gated.ReleaseAll();
        EXPECT_NE(form.RichTextBox1.Summary(), counted) << "the other text changed meanwhile";
    }
}

// The look-alikes and repeats of the red lines are worked out after "Done."; they reach a pane's
// summary and tooltips only while it shows what was compared and nothing has told its own summary.
TEST_F(JobOwnershipTest, TheNotesOnTheLinesComeAfterDoneAndOnlyToTheTextsCompared) {
    const auto runLines = [&](Form1& form) {
        form.RichTextBox1.SetText(u"same\r\nAbc\r\nsame\r"_s);
        form.RichTextBox2.SetText(u"abc\r\nsame\r"_s);
        box.shown.clear();
        form.PushButton1->click();
        gated.Release(); // the comparison; the notes are held now
        ASSERT_EQ(box.Texts(), std::vector<QString>{u"Done."_s});
        ASSERT_EQ(gated.Waiting(), 1u);
    };
    const QString counted = u"1 line of this text is nowhere in Text File #2, a look-alike"_s;
    {
        Form1& form = Start(&gated);
        runLines(form);
        EXPECT_EQ(form.RichTextBox1.Summary(),
                  u"1 line of this text is nowhere in Text File #2 (look-alikes being counted)"_s);
        EXPECT_EQ(form.RichTextBox1.TipAt(0), QString()) << "no repeats known yet";
        gated.ReleaseAll();
        EXPECT_EQ(form.RichTextBox1.Summary(), counted);
        EXPECT_EQ(form.RichTextBox1.TipAt(0), u"twice here, once in Text File #2"_s);
        EXPECT_TRUE(form.RichTextBox1.TipAt(6).startsWith(u"Differs from line 1"_s));
        window.reset();
    }
    {
        Form1& form = Start(&gated);
        runLines(form);
        form.ViewOf(form.RichTextBox2)->InsertText(u"x"_s, true);
        gated.ReleaseAll();
        EXPECT_NE(form.RichTextBox1.Summary(), counted) << "the other text changed meanwhile";
        EXPECT_EQ(form.RichTextBox1.TipAt(0), QString());
        window.reset();
    }
    {
        Form1& form = Start(&gated);
        runLines(form);
        form.PushButton6->click(); // the words, while the lines' notes are worked out
        gated.ReleaseAll();
        EXPECT_TRUE(form.RichTextBox1.Summary().contains(u"word"_s))
            << form.RichTextBox1.Summary().toStdString();
        window.reset();
    }
    {
        Form1& form = Start(&gated);
        runLines(form);
        window.reset(); // the window closes while the notes are worked out
        gated.ReleaseAll();
    }
}

// An error report holds up the procedure that raised it until the user closes it: the statements
// after it have not run meanwhile.
TEST_F(JobOwnershipTest, AnErrorReportPausesItsProcedureUntilItIsClosed) {
    Form1& form = StartGated();
    dialog.answers = {programFolder.filePath(u"no-such-folder/saved.txt"_s)};
    box.holdOpen = true;
    form.PushButton2->click();
    ASSERT_EQ(gated.Waiting(), 1u);
    gated.Release(); // the write, which fails
    ASSERT_TRUE(box.HeldOpen());
    EXPECT_EQ(ErrorReports().size(), 1u);
    EXPECT_EQ(form.MousePointer(), MousePointer::Hourglass) << "statement 124 has not run yet";
    box.holdOpen = false;
    box.CloseHeld();
    EXPECT_EQ(form.MousePointer(), MousePointer::Default);
}

// After Esc the counts say how far the comparison had come, not only what it found.
TEST_F(JobOwnershipTest, AfterEscTheCountsSayHowFarTheComparisonGot) {
    Form1& form = StartGated();
    form.PushButton1->click();
    QTest::keyClick(&form, Qt::Key_Escape);
    gated.ReleaseAll();
    EXPECT_EQ(form.RichTextBox1.Summary(),
              u"Stopped before the first line: 0 lines nowhere in Text File #2 found so far"_s);

    QString many;
    for (int i = 0; i < 5000; ++i)
        many += u"line %1\r\n"_s.arg(i);
    form.RichTextBox1.SetText(many);
    form.PushButton6->click();
    QTest::keyClick(&form, Qt::Key_Escape);
    gated.ReleaseAll();
    EXPECT_EQ(form.RichTextBox1.Summary(),
              u"Stopped after line 4096: 8192 words not supplied by their partner lines in Text "
              u"File #2 found so far"_s)
        << "the words are looked at between every few thousand lines";
}
