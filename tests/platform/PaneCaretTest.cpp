#include "PaneAgainstPlain.h"
#include "platform/Pane.h"

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QString kHigh(QChar(char16_t{0xD83D}));
const QString kLow(QChar(char16_t{0xDE00}));

} // namespace

// Each row: an edit that joins a lone CR to a lone LF, or the two halves of a character. The caret
// lands after the pair, so that the next Delete or Backspace takes the pair whole; undo and redo
// put it where it was and after the pair again.
TEST(PaneCaretTest, AnEditThatJoinsAPairLeavesTheCaretAfterIt) {
    struct Row {
        const char* what;
        QString text;
        qsizetype caret, position, removed;
        QString inserted;
        QString after;
        qsizetype caretAfter;
    };
    const Row rows[] = {
        {"Delete between a lone CR and a lone LF", u"a\rx\nb"_s, 2, 2, 1, {}, u"a\r\nb"_s, 3},
        {"Backspace between a lone CR and a lone LF", u"a\rx\nb"_s, 3, 2, 1, {}, u"a\r\nb"_s, 3},
        {"a selection between them typed over by a CR", u"a\rxy\nb"_s, 2, 1, 3, u"\r"_s,
         u"a\r\nb"_s, 3},
        {"a CR typed before a lone LF", u"a\nb"_s, 1, 1, 0, u"\r"_s, u"a\r\nb"_s, 3},
        {"Delete between the halves of a character",
         u"a"_s + kHigh + u"x"_s + kLow,
         2,
         2,
         1,
         {},
         u"a"_s + kHigh + kLow,
         3},
        {"a first half typed before a lone second half", u"a"_s + kLow, 1, 1, 0, kHigh,
         u"a"_s + kHigh + kLow, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Pane pane;
        pane.SetText(row.text);
        pane.Select(row.caret, row.caret);
        pane.Edit(row.position, row.removed, row.inserted);
        EXPECT_EQ(pane.Text(), row.after);
        EXPECT_EQ(std::pair(pane.Anchor(), pane.Caret()),
                  std::pair(row.caretAfter, row.caretAfter));
        pane.Undo();
        EXPECT_EQ(pane.Caret(), row.caret);
        pane.Redo();
        EXPECT_EQ(pane.Caret(), row.caretAfter);
        // What a Backspace then takes: the whole pair before the caret.
        pane.Edit(pane.Caret() - 2, 2, {});
        EXPECT_FALSE(pane.Text().contains(u'\r') || pane.Text().contains(u'\n') ||
                     pane.Text().contains(kHigh) || pane.Text().contains(kLow));
    }
}

// Each row: a way of setting the selection with an end inside a pair of "ab\r\ncd\U0001F600e",
// whose CR LF is units 2 and 3 and whose surrogate pair units 6 and 7. The end moves out of the
// pair, away from the other end; a caret alone to the pair's start.
TEST(PaneCaretTest, NoEndOfTheSelectionStandsInsideAPair) {
    struct Row {
        const char* what;
        std::function<void(Pane&)> select;
        qsizetype anchor, caret;
    };
    const Row rows[] = {
        {"a caret inside a CR LF", [](Pane& p) { p.Select(3, 3); }, 2, 2},
        {"a caret inside a surrogate pair", [](Pane& p) { p.Select(7, 7); }, 6, 6},
        {"a selection forward", [](Pane& p) { p.Select(3, 7); }, 2, 8},
        {"a selection backward", [](Pane& p) { p.Select(7, 3); }, 8, 2},
        {"a start from code", [](Pane& p) { p.SetSelStart(3); }, 2, 2},
        {"a start and a length from code",
         [](Pane& p) {
             p.SetSelStart(3);
             p.SetSelLength(4);
         },
         2, 8},
        {"a length from code after a selection",
         [](Pane& p) {
             p.Select(4, 9);
             p.SetSelLength(3);
         },
         4, 8},
        {"text appended that completes a pair at the caret",
         [](Pane& p) {
             p.SetText(u"ab\r"_s);
             p.Select(3, 3);
             p.AppendText(u"\n"_s);
         },
         2, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Pane pane;
        pane.SetText(u"ab\r\ncd"_s + kHigh + kLow + u"e"_s);
        row.select(pane);
        EXPECT_EQ(std::pair(pane.Anchor(), pane.Caret()), std::pair(row.anchor, row.caret));
    }
}

// The program colours through SelStart and SelLength, and a red line's stretch begins with the LF
// of the break before it: the colour takes exactly the units chosen, while the selection shown
// takes the whole breaks.
TEST(PaneCaretTest, TheUnitsChosenFromCodeAreColouredExactly) {
    Pane pane;
    pane.SetText(u"a\r\nred\r\nb"_s);
    pane.SetSelStart(2);
    pane.SetSelLength(5);
    pane.SetSelColor(kRed);
    EXPECT_EQ(pane.RangesOf(kRed), (std::vector<TextRange>{{2, 5}}));
    EXPECT_EQ(std::pair(pane.SelStart(), pane.SelLength()), std::pair(qsizetype{1}, qsizetype{7}));
    pane.Select(4, 5);
    pane.SetSelColor(kBlack);
    EXPECT_EQ(pane.RangesOf(kRed), (std::vector<TextRange>{{2, 2}, {5, 2}}))
        << "a selection made otherwise is what is coloured";
}

// Scripts of steps that once went wrong, or nearly, held against the plain model step by step.
TEST(PaneCaretTest, ScriptedStepsFollowThePlainModel) {
    using Kind = PaneStep::Kind;
    const std::vector<std::vector<PaneStep>> scripts = {
        {{Kind::SetText, 0, 0, u"a\rx\ny"},
         {Kind::Select, 3, 3},
         {Kind::Edit, 2, 1},
         {Kind::Type, 0, 0, u"z"},
         {Kind::Undo},
         {Kind::Undo},
         {Kind::Redo}},
        {{Kind::SetText, 0, 0, u"ab"},
         {Kind::Paint, 0, 1},
         {Kind::Type, 0, 0, u"\r"},
         {Kind::Type, 0, 0, u"\n"},
         {Kind::Select, 0, 0},
         {Kind::Type, 0, 0, u"q"},
         {Kind::Undo},
         {Kind::Redo}},
        {{Kind::SetText, 0, 0, u"w x\r\ny z"},
         {Kind::MarkRed, 2, 1},
         {Kind::SetSelStart, 4},
         {Kind::SetSelLength, 3},
         {Kind::SetSelColor, 0, 0, {}, kBlack},
         {Kind::Type, 0, 0, u"-"},
         {Kind::AppendText, 0, 0, u"\r"},
         {Kind::Undo}},
    };
    for (std::size_t i = 0; i < scripts.size(); ++i) {
        Pane pane;
        plain::PlainPane model;
        for (std::size_t s = 0; s < scripts[i].size(); ++s) {
            Apply(scripts[i][s], pane, model);
            ASSERT_EQ(Mismatch(pane, model), "") << "script " << i << ", step " << s;
        }
    }
}
