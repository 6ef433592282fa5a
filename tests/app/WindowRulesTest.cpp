// The comparison rules in the window: chosen in the dialog, remembered, named in the caption, and
// what only a rule matched shown as such, apart from the red differences.
#include "Finish.h"
#include "WindowFixture.h"

#include "app/RuleKindNames.h"
#include "platform/OverviewStrip.h"
#include "platform/PaneWidget.h"

#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

class WindowRulesTest : public WindowFixture {
protected:
    // The dialog's form with these kinds ticked, by name.
    static RulesForm Form(const QStringList& kinds, const QString& ignoreMatching = {},
                          const QStringList& masks = {}) {
        RulesForm form;
        for (const RuleKindName& kind : kRuleKindNames)
            form.kinds.push_back(kinds.contains(QString::fromUtf16(kind.name)));
        form.ignoreMatching = ignoreMatching;
        form.masks = masks;
        return form;
    }

    void CompareLines(Form1& form, const QString& one, const QString& two) {
        form.RichTextBox1.SetText(one);
        form.RichTextBox2.SetText(two);
        QTest::mouseClick(form.PushButton1, Qt::LeftButton);
        ASSERT_EQ(box.Texts().back(), u"Done."_s);
    }

    static bool Any(const std::vector<bool>& rows) {
        return std::find(rows.begin(), rows.end(), true) != rows.end();
    }
};

} // namespace

TEST_F(WindowRulesTest, WhatOnlyARuleMatchedIsQuietMarkedSkippedAndExplained) {
    Form1& form = Start();
    const QString optionBefore = Setting(u"Option1"_s);
    rulesDialog.answers.push_back(Form({u"case"_s, u"trailing-space"_s}, u"^#"_s));
    Finish(form.ChooseRules());
    EXPECT_EQ(Setting(u"Option1"_s), optionBefore) << "the display option's keys are left alone";
    EXPECT_EQ(Setting(u"RuleKinds"_s), u"[\"trailing-space\",\"case\"]"_s);
    const QString one = u"Alpha\r\nsame\r\nonly here\r\n# note\r\nkeep  \r\n"_s;
    const QString two = u"alpha\r\nsame\r\nother\r\nkeep\r\n"_s;
    CompareLines(form, one, two);
    const Pane& pane = form.RichTextBox1;
    const qsizetype red = one.indexOf(u"only"_s), note = one.indexOf(u"# note"_s),
                    keep = one.indexOf(u"keep"_s);

    EXPECT_EQ(pane.ColourAt(0), kRuleMatched) << "Alpha, by case";
    EXPECT_EQ(pane.ColourAt(one.indexOf(u"same"_s)), kBlack);
    EXPECT_EQ(pane.ColourAt(red), kRed);
    EXPECT_EQ(pane.ColourAt(note), kRuleMatched) << "ignored by the expression";
    EXPECT_EQ(pane.ColourAt(keep), kRuleMatched) << "by its trailing blanks";
    EXPECT_EQ(form.RichTextBox3.Text(), u"\nonly here\r"_s) << "the list has the red line alone";
    EXPECT_EQ(form.RichTextBox4.Text(), u"\nother\r"_s);

    EXPECT_EQ(pane.TipAt(2), u"Matches line 1 of Text File #2 when case is ignored"_s);
    EXPECT_EQ(pane.TipAt(keep),
              u"Matches line 4 of Text File #2 when trailing blanks are ignored"_s);
    EXPECT_EQ(pane.TipAt(note + 1), u"Ignored: the line matches ^#"_s);
    EXPECT_TRUE(pane.Summary().endsWith(u", 3 more lines match only by the rules"_s))
        << pane.Summary().toStdString();

    // F8 goes from the top to the one red line, past the quiet ones, and stays on it.
    form.Option1->click();
    form.RichTextBox1.Select(0, 0);
    for (int press = 0; press < 2; ++press) {
        form.GoToDifference(true);
        EXPECT_EQ(pane.SelStart(), red) << "press " << press;
    }
    OverviewStrip* strip = form.ViewOf(form.RichTextBox1)->Overview();
    EXPECT_TRUE(Any(strip->Marks()));
    EXPECT_TRUE(Any(strip->RuleMarks()));
    EXPECT_EQ(form.RichTextBox2.ColourAt(0), kRuleMatched) << "alpha, by case, on side 2 too";

    EXPECT_TRUE(
        form.windowTitle().endsWith(u" (ignoring trailing blanks, case, lines matching ^#)"_s))
        << form.windowTitle().toStdString();
}

// Rules switched off again: the comparison is the plain one, and the quiet colour goes.
TEST_F(WindowRulesTest, NoRuleComparesAsAlwaysAndNamesNothing) {
    Form1& form = Start();
    form.UseRules({{u"case"_s}, std::nullopt, {}});
    CompareLines(form, u"Alpha\r\nsame\r\n"_s, u"alpha\r\nsame\r\n"_s);
    ASSERT_EQ(form.RichTextBox1.ColourAt(0), kRuleMatched);
    form.UseRules({});
    QTest::mouseClick(form.PushButton1, Qt::LeftButton);
    EXPECT_EQ(form.RichTextBox1.ColourAt(0), kRed);
    EXPECT_EQ(form.RichTextBox1.Summary(),
              u"1 line of this text is nowhere in Text File #2, a look-alike"_s);
    EXPECT_TRUE(form.RichTextBox1.RangesOf(kRuleMatched).empty());
    EXPECT_FALSE(Any(form.ViewOf(form.RichTextBox1)->Overview()->RuleMarks()));
    EXPECT_FALSE(form.windowTitle().contains(u"ignoring"_s));
}

// Lines only a rule matched are a comparison's marks like the red ones: once a text changes they
// are drawn faded, in the pane and on its strip, even in a pane with nothing red, until the next
// comparison.
TEST_F(WindowRulesTest, QuietLinesFadeWithTheRedOnesWhenATextChanges) {
    Form1& form = Start();
    form.UseRules({{u"case"_s}, std::nullopt, {}});
    CompareLines(form, u"Alpha\r\nBeta\r\nsame\r\n"_s, u"alpha\r\nbeta\r\nsame\r\n"_s);
    Pane& pane = form.RichTextBox1;
    ASSERT_TRUE(pane.RangesOf(kRed).empty());
    ASSERT_EQ(pane.ColourAt(0), kRuleMatched);
    const auto pixels = [&](QColor colour) {
        const QImage image = form.ViewOf(pane)->grab().toImage();
        qsizetype found = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                found += image.pixelColor(x, y) == colour;
        return found;
    };
    const QColor quiet(84, 110, 122), faded(180, 192, 198);
    EXPECT_GT(pixels(quiet), 0);
    EXPECT_EQ(pixels(faded), 0);

    form.RichTextBox2.SetSelStart(0);
    form.ViewOf(form.RichTextBox2)->InsertText(u"x"_s, true);
    EXPECT_TRUE(pane.Stale()) << "quiet lines alone are marks of the last comparison too";
    EXPECT_EQ(pane.ColourAt(0), kRuleMatched) << "they stay";
    EXPECT_EQ(pixels(quiet), 0);
    EXPECT_GT(pixels(faded), 0) << "in the pane and on its strip";

    QTest::mouseClick(form.PushButton1, Qt::LeftButton);
    EXPECT_FALSE(pane.Stale()) << "compared again, though nothing is red";
    EXPECT_GT(pixels(quiet), 0);
}

// The rules chosen come back in the next run, under their own keys; what is stored but cannot
// be used counts as no rule.
TEST_F(WindowRulesTest, RulesAreRememberedUnderTheirOwnKeys) {
    const struct {
        RulesForm form;
        WindowRules rules;
    } rows[] = {
        {Form({u"case"_s}), {{u"case"_s}, std::nullopt, {}}},
        {Form({u"nbsp"_s, u"leading-space"_s}, u"^\\s*$"_s, {u"\\d+"_s, u"[a-f]{8}"_s}),
         {{u"leading-space"_s, u"nbsp"_s}, u"^\\s*$"_s, {u"\\d+"_s, u"[a-f]{8}"_s}}},
        {Form({}), {}},
    };
    for (const auto& row : rows) {
        Form1& form = Start();
        rulesDialog.answers.push_back(row.form);
        Finish(form.ChooseRules());
        EXPECT_EQ(form.Rules(), row.rules);
        Form1& again = Start();
        EXPECT_EQ(again.Rules(), row.rules) << "read back at start-up";
    }
    for (const QString& stored : {u"[\"no-such-kind\"]"_s, u"not a list"_s}) {
        PresetSetting(u"RuleKinds"_s, stored);
        EXPECT_EQ(Start().Rules(), WindowRules{}) << stored.toStdString();
    }
    PresetSetting(u"RuleKinds"_s, u"[]"_s);
    PresetSetting(u"RuleMasks"_s, u"[\"(\"]"_s);
    EXPECT_EQ(Start().Rules(), WindowRules{}) << "a mask that does not compile";
}

TEST_F(WindowRulesTest, AnExpressionThatCannotBeUsedIsRefusedWithAClearMessage) {
    Form1& form = Start();
    rulesDialog.answers.push_back(Form({u"case"_s}, {}, {u"\\d{4"_s}));
    rulesDialog.answers.push_back(Form({}, u"(unclosed"_s));
    rulesDialog.answers.push_back(std::nullopt); // then the user cancels
    Finish(form.ChooseRules());
    ASSERT_EQ(rulesDialog.complaints.size(), 2u);
    EXPECT_TRUE(
        rulesDialog.complaints[0].startsWith(u"The mask \u201C\\d{4\u201D cannot be used: "_s))
        << rulesDialog.complaints[0].toStdString();
    EXPECT_TRUE(rulesDialog.complaints[1].startsWith(
        u"The expression for lines to ignore \u201C(unclosed\u201D cannot be used: "_s));
    EXPECT_EQ(form.Rules(), WindowRules{});
    EXPECT_EQ(Setting(u"RuleMasks"_s), u"<absent>"_s);
}

// Ctrl+R, the Find Differences buttons' menus and the full panes' menus open the dialog, filled
// in with the rules in force, a box per kind with its line.
TEST_F(WindowRulesTest, TheDialogIsReachedFromItsMenusAndKey) {
    Form1& form = Start();
    form.UseRules({{u"case"_s}, std::nullopt, {}});
    std::vector<QAction*> found;
    for (QPushButton* button : {form.PushButton1, form.PushButton6})
        for (QAction* action : button->actions())
            if (action->text() == u"Comparison Rules\u2026"_s)
                found.push_back(action);
    for (const Pane* full : {&form.RichTextBox1, &form.RichTextBox2}) {
        std::unique_ptr<QMenu> menu(form.ViewOf(*full)->CreateContextMenu());
        for (QAction* action : menu->actions())
            if (action->text() == u"Comparison Rules\u2026"_s)
                found.push_back(action);
    }
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    found[2]->trigger();
    ASSERT_EQ(rulesDialog.shown.size(), 1u);
    EXPECT_EQ(rulesDialog.shown[0], Form({u"case"_s}));
    ASSERT_EQ(rulesDialog.shownKinds.size(), kRuleKindNames.size());
    for (const RulesDialogKind& kind : rulesDialog.shownKinds)
        EXPECT_TRUE(kind.example.contains(u"equal"_s)) << kind.example.toStdString();
}

// The word comparison under rules: a word its partner line has only by a rule is quiet and
// explained, the others stay red, and F8 passes the quiet ones.
TEST_F(WindowRulesTest, WordsOnlyARuleMatchedAreQuietToo) {
    Form1& form = Start();
    form.UseRules({{u"case"_s}, std::nullopt, {}});
    form.RichTextBox1.SetText(u"one Two three\r\nfour\r\nFive\r\n"_s);
    form.RichTextBox2.SetText(u"one two tree\r\nfour\r\nfive\r\n"_s);
    QTest::mouseClick(form.PushButton6, Qt::LeftButton);
    ASSERT_EQ(box.Texts().back(), u"Done."_s);
    const Pane& pane = form.RichTextBox1;
    EXPECT_EQ(pane.ColourAt(0), kBlack);
    EXPECT_EQ(pane.ColourAt(4), kRuleMatched) << "Two, by case";
    EXPECT_EQ(pane.ColourAt(8), kRed) << "three";
    EXPECT_EQ(pane.TipAt(5), u"Matches a word of line 1 of Text File #2 when case is ignored"_s);
    EXPECT_TRUE(pane.Summary().endsWith(u", 2 more words match only by the rules"_s))
        << pane.Summary().toStdString();
    form.Option1->click();
    form.RichTextBox1.Select(0, 0);
    form.GoToDifference(true);
    EXPECT_EQ(pane.SelStart(), 8);
    EXPECT_TRUE(Any(form.ViewOf(form.RichTextBox1)->Overview()->RuleMarks())) << "line 3";
}
