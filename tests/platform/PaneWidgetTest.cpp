#include "platform/PaneWidget.h"

#include "platform/OverviewStrip.h"
#include "platform/Pane.h"
#include "platform/ResultList.h"

#include <QAccessible>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

class PaneWidgetTest : public ::testing::Test {
protected:
    PaneWidgetTest() {
        widget.resize(300, 400);
        widget.show();
        widget.setFocus();
    }

    // Rows of the widget's picture that hold pure red pixels.
    std::vector<int> RedRows() {
        const QImage image = widget.viewport()->grab().toImage();
        std::vector<int> rows;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.red() > 200 && c.green() < 60 && c.blue() < 60) {
                    rows.push_back(y);
                    break;
                }
            }
        }
        return rows;
    }

    Pane pane;
    PaneWidget widget{pane};
};

using Action = std::function<void(PaneWidget&)>;

Action Type(const QString& text) {
    return [text](PaneWidget& w) { QTest::keyClicks(&w, text); };
}
Action Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, int times = 1) {
    return [=](PaneWidget& w) {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(&w, key, modifiers);
    };
}
Action Paste(const QString& text) {
    return [text](PaneWidget& w) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(&w, Qt::Key_V, Qt::ControlModifier);
    };
}

} // namespace

// Each row: a text and a caret, what the user does, and the text and selection it leaves.
TEST_F(PaneWidgetTest, EditsByKeysAndPastesReachThePane) {
    struct Row {
        const char* what;
        QString text;
        qsizetype caret;
        std::vector<Action> actions;
        QString after;
        qsizetype anchor, caretAfter;
    };
    const QString face = QString::fromUtf16(u"\U0001F600x");
    const Row rows[] = {
        {"typing and Enter",
         {},
         0,
         {Type(u"ab"_s), Press(Qt::Key_Return), Type(u"c"_s)},
         u"ab\r\nc"_s,
         5,
         5},
        {"Backspace at a line's start takes its whole CR LF",
         u"ab\r\ncd"_s,
         4,
         {Press(Qt::Key_Backspace)},
         u"abcd"_s,
         2,
         2},
        {"Delete at a line's end takes a lone CR",
         u"a\rb"_s,
         1,
         {Press(Qt::Key_Delete)},
         u"ab"_s,
         1,
         1},
        {"Backspace takes a lone LF", u"a\nb"_s, 2, {Press(Qt::Key_Backspace)}, u"ab"_s, 1, 1},
        {"typing replaces the selection",
         u"hello world"_s,
         0,
         {Press(Qt::Key_Right, Qt::ShiftModifier, 5), Type(u"bye"_s)},
         u"bye world"_s,
         3,
         3},
        {"Ctrl+Backspace takes a word",
         u"one two"_s,
         7,
         {Press(Qt::Key_Backspace, Qt::ControlModifier)},
         u"one "_s,
         4,
         4},
        {"pasted breaks become CR LF",
         u"ab"_s,
         2,
         {Paste(u"x\ny\rz\r\nw"_s)},
         u"abx\r\ny\r\nz\r\nw"_s,
         12,
         12},
        {"undo and redo of typing",
         {},
         0,
         {Type(u"abc"_s), Press(Qt::Key_Z, Qt::ControlModifier)},
         {},
         0,
         0},
        {"redo",
         {},
         0,
         {Type(u"abc"_s), Press(Qt::Key_Z, Qt::ControlModifier),
          Press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier)},
         u"abc"_s,
         3,
         3},
        {"a surrogate pair is one step and one deletion",
         face,
         0,
         {Press(Qt::Key_Right), Press(Qt::Key_Backspace)},
         u"x"_s,
         0,
         0},
        {"select all and delete",
         u"a\r\nb"_s,
         1,
         {Press(Qt::Key_A, Qt::ControlModifier), Press(Qt::Key_Delete)},
         {},
         0,
         0},
        {"Down keeps the column, End and Ctrl+Home move",
         u"aaa\r\naaa"_s,
         1,
         {Press(Qt::Key_Down), Press(Qt::Key_Right, Qt::ShiftModifier)},
         u"aaa\r\naaa"_s,
         6,
         7},
        {"End, then Shift+Home selects the line",
         u"aaa\r\nbbb"_s,
         6,
         {Press(Qt::Key_End), Press(Qt::Key_Home, Qt::ShiftModifier)},
         u"aaa\r\nbbb"_s,
         8,
         5},
        {"Shift+Ctrl+End selects to the end",
         u"ab\r\ncd"_s,
         1,
         {Press(Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier)},
         u"ab\r\ncd"_s,
         1,
         6},
        {"Tab types a tab", u"a"_s, 1, {Press(Qt::Key_Tab)}, u"a\t"_s, 2, 2},
        {"Delete joins a lone CR to a lone LF, and Backspace then takes the pair whole",
         u"a\rx\nb"_s,
         2,
         {Press(Qt::Key_Delete), Press(Qt::Key_Backspace)},
         u"ab"_s,
         1,
         1},
        {"Backspace joins the halves of a character, and Delete then takes what follows",
         u"a"_s + face.left(1) + u"x"_s + face.mid(1, 1) + u"b"_s,
         3,
         {Press(Qt::Key_Backspace), Press(Qt::Key_Delete)},
         u"a"_s + face.left(2),
         3,
         3},
    };
    for (const Row& row : rows) {
        pane.SetText(row.text);
        pane.Select(row.caret, row.caret);
        for (const Action& action : row.actions)
            action(widget);
        EXPECT_EQ(pane.Text(), row.after) << row.what;
        EXPECT_EQ(pane.Anchor(), row.anchor) << row.what;
        EXPECT_EQ(pane.Caret(), row.caretAfter) << row.what;
    }
}

TEST_F(PaneWidgetTest, TypedTextTakesTheColourOfTheTextBeforeIt) {
    pane.SetText(u"red\r\nblack"_s);
    pane.ColourRanges(std::vector<TextRange>{{0, 3}}, kRed);
    pane.Select(1, 1);
    QTest::keyClicks(&widget, u"X"_s);
    EXPECT_EQ(pane.RangesOf(kRed), (std::vector<TextRange>{{0, 4}}));
    pane.Select(9, 9);
    QTest::keyClicks(&widget, u"Y"_s);
    EXPECT_EQ(pane.RangesOf(kRed), (std::vector<TextRange>{{0, 4}}));
}

TEST_F(PaneWidgetTest, RedIsDrawnWhereTheRunsSayAndNowhereElse) {
    pane.SetText(u"black\r\nred line\r\nblack"_s);
    EXPECT_TRUE(RedRows().empty());
    pane.ColourRanges(std::vector<TextRange>{{7, 8}}, kRed);
    const QRectF line = widget.CaretBox(7);
    const std::vector<int> red = RedRows();
    ASSERT_FALSE(red.empty());
    EXPECT_GE(red.front(), line.top());
    EXPECT_LE(red.back(), line.bottom());
    pane.ColourRanges(std::vector<TextRange>{{0, pane.Length()}}, kBlack);
    EXPECT_TRUE(RedRows().empty());
}

TEST_F(PaneWidgetTest, ALineOfMillionsOfUnitsIsShownAndEditedAtItsEnd) {
    QString line(3'000'000, u'x');
    line += u" end"_s;
    pane.SetText(line);
    EXPECT_GT(widget.verticalScrollBar()->maximum(), 1000) << "scrolled by pieces of the line";
    QTest::keyClick(&widget, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(pane.Caret(), line.size());
    const QRectF caret = widget.CaretBox(pane.Caret());
    ASSERT_FALSE(caret.isEmpty()) << "the end was scrolled into view";
    EXPECT_EQ(widget.PositionAt(caret.center()), line.size());
    QTest::keyClicks(&widget, u"!"_s);
    EXPECT_TRUE(pane.Text().endsWith(u"end!"_s));
    widget.verticalScrollBar()->setValue(0);
    EXPECT_EQ(widget.PositionAt(QPointF(5, 5)), 0);
}

TEST_F(PaneWidgetTest, TheScrollBarAndTheWheelMoveThroughManyLines) {
    QString text;
    for (int i = 0; i < 10000; ++i)
        text += u"line "_s + QString::number(i) + u"\r\n"_s;
    pane.SetText(text);
    QScrollBar* bar = widget.verticalScrollBar();
    bar->setValue(bar->maximum());
    const QRectF last = widget.CaretBox(pane.Length());
    ASSERT_FALSE(last.isEmpty()) << "the end shows at the bottom";
    EXPECT_LE(last.bottom(), widget.viewport()->height());
    bar->setValue(0);
    QWheelEvent wheel(QPointF(10, 10), widget.mapToGlobal(QPointF(10, 10)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(widget.viewport(), &wheel);
    EXPECT_EQ(widget.Top().segment, QApplication::wheelScrollLines());
}

TEST_F(PaneWidgetTest, AListIsShownOneEntryALine) {
    const QString source = u"alpha beta gamma"_s;
    ResultList::Builder builder(source, ResultList::Form::Words);
    builder.Add({0, 5});
    builder.Add({11, 5});
    pane.AppendList(std::make_shared<const ResultList>(std::move(builder).Finish()));
    const QRectF first = widget.CaretBox(2);
    const QRectF second = widget.CaretBox(9);
    EXPECT_GT(second.top(), first.top()) << "each word on a line of its own";
    EXPECT_EQ(widget.PositionAt(second.center() + QPointF(200, 0)), 14)
        << "the end of the last line";
}

TEST_F(PaneWidgetTest, CopyGivesLineBreaksAsTheClipboardWantsThem) {
    pane.SetText(u"a\r\nb\rc"_s);
    widget.SelectAll();
    widget.Copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"a\nb\nc"_s);
    widget.Cut();
    EXPECT_EQ(pane.Text(), QString());
}

TEST_F(PaneWidgetTest, TheContextMenuOffersWhatCanBeDone) {
    pane.SetText(u"text"_s);
    std::unique_ptr<QMenu> menu(widget.CreateContextMenu());
    std::map<QString, bool> enabled;
    for (QAction* action : menu->actions())
        if (!action->isSeparator())
            enabled[action->text().remove(u'&')] = action->isEnabled();
    EXPECT_FALSE(enabled.at(u"Undo"_s));
    EXPECT_FALSE(enabled.at(u"Copy"_s)) << "nothing is selected";
    EXPECT_TRUE(enabled.at(u"Select All"_s));
    widget.SelectAll();
    menu.reset(widget.CreateContextMenu());
    for (QAction* action : menu->actions())
        if (action->text().remove(u'&') == u"Cut"_s)
            action->trigger();
    EXPECT_EQ(pane.Text(), QString());
    EXPECT_TRUE(pane.CanUndo());
}

TEST_F(PaneWidgetTest, AnInputMethodComposesBeforeItCommits) {
    pane.SetText(u"ab"_s);
    pane.Select(1, 1);
    QInputMethodEvent composing(u"ka"_s, {});
    QCoreApplication::sendEvent(&widget, &composing);
    EXPECT_EQ(pane.Text(), u"ab"_s) << "what is being composed is not in the text yet";
    QInputMethodEvent committed;
    committed.setCommitString(QString::fromUtf16(u"\u304B"));
    QCoreApplication::sendEvent(&widget, &committed);
    EXPECT_EQ(pane.Text(), QString::fromUtf16(u"a\u304Bb"));
    EXPECT_EQ(static_cast<QWidget&>(widget).inputMethodQuery(Qt::ImSurroundingText).toString(),
              pane.Text());
    EXPECT_EQ(static_cast<QWidget&>(widget).inputMethodQuery(Qt::ImCursorPosition).toInt(), 2);
}

TEST_F(PaneWidgetTest, DroppedFilesAreAnnouncedNotInserted) {
    QSignalSpy dropped(&widget, &PaneWidget::FilesDropped);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(u"/tmp/a.txt"_s), QUrl::fromLocalFile(u"/tmp/b.txt"_s)});
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget.viewport(), &enter);
    QCoreApplication::sendEvent(widget.viewport(), &drop);
    ASSERT_EQ(dropped.size(), 1);
    EXPECT_EQ(dropped[0][0].toStringList(), (QStringList{u"/tmp/a.txt"_s, u"/tmp/b.txt"_s}));
    EXPECT_EQ(pane.Text(), QString());
}

TEST_F(PaneWidgetTest, FollowsThePanesVisibility) {
    pane.SetVisible(false);
    EXPECT_FALSE(widget.isVisible());
    pane.SetVisible(true);
    EXPECT_TRUE(widget.isVisible());
}

TEST_F(PaneWidgetTest, AScreenReaderReadsTheTextCaretSelectionAndColour) {
    pane.SetText(u"one two\r\nthree"_s);
    pane.ColourRanges(std::vector<TextRange>{{4, 3}}, kRed);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&widget);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::EditableText);
    EXPECT_TRUE(accessible->state().multiLine);
    QAccessibleTextInterface* text = accessible->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->characterCount(), 14);
    EXPECT_EQ(text->text(4, 7), u"two"_s);
    int start = -1, end = -1;
    EXPECT_EQ(text->textAtOffset(5, QAccessible::WordBoundary, &start, &end), u"two"_s);
    EXPECT_EQ(text->textAtOffset(5, QAccessible::LineBoundary, &start, &end), u"one two\r\n"_s);
    EXPECT_EQ(text->textAfterOffset(5, QAccessible::LineBoundary, &start, &end), u"three"_s);
    EXPECT_EQ(text->attributes(5, &start, &end), u"color:rgb(255,0,0);"_s);
    EXPECT_EQ(std::pair(start, end), std::pair(4, 7)) << "the red run";
    EXPECT_EQ(text->attributes(1, &start, &end), QString());

    text->setSelection(0, 0, 3);
    EXPECT_EQ(pane.SelStart(), 0);
    EXPECT_EQ(pane.SelLength(), 3);
    text->selection(0, &start, &end);
    EXPECT_EQ(std::pair(start, end), std::pair(0, 3));
    text->setCursorPosition(9);
    EXPECT_EQ(pane.Caret(), 9);
    EXPECT_EQ(text->cursorPosition(), 9);
    accessible->editableTextInterface()->insertText(0, u"x\ny"_s);
    EXPECT_EQ(pane.Text(), u"x\r\nyone two\r\nthree"_s) << "breaks come in as CR LF";
}

// F8 and Shift+F8 (Alt+Down, Alt+Up) go from one red stretch to the next, round from the last to
// the first; a red line's selection starts at its first character, past the break before it, and
// ends after the whole break that ends it.
TEST_F(PaneWidgetTest, TheNavigationKeysGoFromDifferenceToDifference) {
    pane.SetText(u"a\r\nred\r\nb\r\nred too\r\nc"_s);
    pane.ColourRanges(std::vector<TextRange>{{1, 6}, {10, 10}}, kRed); // breaks included
    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        qsizetype anchor, caret;
    };
    const Step steps[] = {
        {Qt::Key_F8, Qt::NoModifier, 8, 3},  {Qt::Key_F8, Qt::NoModifier, 20, 11},
        {Qt::Key_F8, Qt::NoModifier, 8, 3},  {Qt::Key_F8, Qt::ShiftModifier, 20, 11},
        {Qt::Key_Up, Qt::AltModifier, 8, 3}, {Qt::Key_Down, Qt::AltModifier, 20, 11},
    };
    pane.Select(0, 0);
    for (const Step& step : steps) {
        QTest::keyClick(&widget, step.key, step.modifiers);
        EXPECT_EQ(std::pair(pane.Anchor(), pane.Caret()), std::pair(step.anchor, step.caret))
            << QKeySequence(step.key | step.modifiers).toString().toStdString();
    }
    pane.ColourRanges(std::vector<TextRange>{{0, pane.Length()}}, kBlack);
    pane.Select(4, 4);
    QTest::keyClick(&widget, Qt::Key_F8);
    EXPECT_EQ(std::pair(pane.Anchor(), pane.Caret()), std::pair(qsizetype{4}, qsizetype{4}))
        << "without a difference nothing moves";
}

TEST_F(PaneWidgetTest, TheNavigationKeysFollowWordsMarkedRed) {
    pane.SetText(u"aa bb cc dd"_s);
    ResultList::Builder builder(pane.Text(), ResultList::Form::Words);
    builder.Add({3, 2});
    builder.Add({5, 0}); // an empty word marks nothing and is passed over
    builder.Add({9, 2});
    pane.MarkRed(std::make_shared<const ResultList>(std::move(builder).Finish()));
    pane.Select(0, 0);
    QTest::keyClick(&widget, Qt::Key_F8);
    EXPECT_EQ(pane.Caret(), 3);
    QTest::keyClick(&widget, Qt::Key_F8);
    EXPECT_EQ(pane.Caret(), 9);
    EXPECT_EQ(pane.SelLength(), 2);
    QTest::keyClick(&widget, Qt::Key_F8, Qt::ShiftModifier);
    EXPECT_EQ(pane.Caret(), 3);
}

// One red line among a million marks one row of the strip, where the scroll bar would show that
// line; a click on the strip scrolls there.
TEST_F(PaneWidgetTest, TheOverviewStripMarksTheRowsWithRed) {
    widget.ShowOverview(true);
    QString text;
    text.reserve(6'000'000);
    for (int i = 0; i < 1'000'000; ++i)
        text += u"line\r\n"_s;
    pane.SetText(text);
    OverviewStrip* strip = widget.Overview();
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(std::count(strip->Marks().begin(), strip->Marks().end(), true), 0);
    const qsizetype middle = 600'000 * 6;
    pane.ColourRanges(std::vector<TextRange>{{middle, 4}}, kRed);
    const std::vector<bool>& marks = strip->Marks();
    ASSERT_EQ(std::count(marks.begin(), marks.end(), true), 1);
    const auto row = std::find(marks.begin(), marks.end(), true) - marks.begin();
    EXPECT_EQ(row, static_cast<long>(marks.size() * 6 / 10));
    pane.ColourRanges(std::vector<TextRange>{{pane.Length() - 6, 4}}, kRed);
    EXPECT_TRUE(strip->Marks().back()) << "the last line shows in the last row";
    QTest::mouseClick(strip, Qt::LeftButton, Qt::NoModifier, QPoint(2, static_cast<int>(row)));
    const double shown = static_cast<double>(widget.Top().segment) / 1'000'001;
    EXPECT_NEAR(shown, 0.6, 0.01);
}

// A row of the strip stands for many lines: red anywhere among them marks it, not only red in the
// first. Each case colours a few lines around one row and names the rows it marks.
TEST_F(PaneWidgetTest, AStripRowIsMarkedForRedInAnyOfItsLines) {
    widget.ShowOverview(true);
    QString text;
    for (int i = 0; i < 100'000; ++i)
        text += u"line\r\n"_s;
    pane.SetText(text);
    OverviewStrip* strip = widget.Overview();
    ASSERT_NE(strip, nullptr);
    const auto rows = static_cast<qsizetype>(strip->Marks().size());
    const qsizetype pieces = widget.PieceCount();
    const qsizetype row = rows / 3;
    const qsizetype first = row * pieces / rows, next = (row + 1) * pieces / rows;
    ASSERT_GT(next - first, 3) << "a row stands for several lines";
    const qsizetype middle = (first + next) / 2;
    const auto lineAt = [&](qsizetype piece) { return TextRange{widget.PieceStart(piece), 4}; };
    const struct {
        const char* what;
        std::function<void()> colour;
        std::vector<qsizetype> marked;
    } cases[] = {
        {"the row's first line",
         [&] { pane.ColourRanges(std::vector{lineAt(first)}, kRed); },
         {row}},
        {"a line inside the row",
         [&] { pane.ColourRanges(std::vector{lineAt(middle)}, kRed); },
         {row}},
        {"the row's last line",
         [&] { pane.ColourRanges(std::vector{lineAt(next - 1)}, kRed); },
         {row}},
        {"a word marked red inside the row",
         [&] {
             ResultList::Builder builder(pane.Text(), ResultList::Form::Words);
             builder.Add({lineAt(middle).start + 1, 2});
             pane.MarkRed(std::make_shared<const ResultList>(std::move(builder).Finish()));
         },
         {row}},
        {"red from inside the row into the next",
         [&] {
             const qsizetype from = lineAt(middle).start;
             pane.ColourRanges(std::vector{TextRange{from, lineAt(next + 1).End() - from}}, kRed);
         },
         {row, row + 1}},
    };
    for (const auto& c : cases) {
        pane.ColourRanges(std::vector<TextRange>{{0, pane.Length()}}, kBlack);
        c.colour();
        std::vector<qsizetype> marked;
        const std::vector<bool>& marks = strip->Marks();
        for (std::size_t y = 0; y < marks.size(); ++y)
            if (marks[y])
                marked.push_back(static_cast<qsizetype>(y));
        EXPECT_EQ(marked, c.marked) << c.what;
    }
}

TEST_F(PaneWidgetTest, RestingOnARedStretchShowsItsTipAndElsewhereTheSummary) {
    pane.SetText(u"plain\r\ntipped"_s);
    pane.SetSummary(u"1 line of this text is nowhere in Text File #2"_s);
    pane.SetTips([](qsizetype position) {
        return position >= 7 ? u"Differs from line 4 of Text File #2 only by: letter case"_s
                             : QString();
    });
    const auto tipAt = [&](qsizetype position) {
        const QPoint point = widget.CaretBox(position).center().toPoint() + QPoint(2, 0);
        QHelpEvent help(QEvent::ToolTip, point, widget.viewport()->mapToGlobal(point));
        QCoreApplication::sendEvent(widget.viewport(), &help);
        return QToolTip::text();
    };
    EXPECT_EQ(tipAt(8), u"Differs from line 4 of Text File #2 only by: letter case"_s);
    EXPECT_EQ(tipAt(1), u"1 line of this text is nowhere in Text File #2"_s);
}

// A red stretch that F8 (or Shift+F8) lands on is brought wholly into view, wherever it was: half
// below the bottom edge, above the top, or far off. One taller than the pane shows its first row a
// third of the way down.
TEST_F(PaneWidgetTest, TheNavigationKeysShowTheWholeStretch) {
    QString text;
    for (int i = 0; i < 200; ++i)
        text += u"line "_s + QString::number(i) + u"\r\n"_s;
    pane.SetText(text);
    const auto rows =
        static_cast<qsizetype>(widget.viewport()->height() / widget.CaretBox(0).height());
    const struct {
        const char* what;
        qsizetype firstRed, lastRed; // lines
        qsizetype topLine;           // scrolled to before the key
        Qt::KeyboardModifiers modifiers;
        bool cutOff; // before the key, the stretch's first line shows and its last does not
        bool taller;
    } cases[] = {
        {"its first line on the last row", 100, 103, 100 - rows + 1, Qt::NoModifier, true, false},
        {"far below", 150, 152, 0, Qt::NoModifier, false, false},
        {"above, going back", 20, 24, 22, Qt::ShiftModifier, false, false},
        {"taller than the pane", 60, 60 + 2 * rows, 0, Qt::NoModifier, false, true},
    };
    const auto lineStart = [&](qsizetype line) { return pane.Content().LineStart(line); };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        pane.ColourRanges(std::vector<TextRange>{{0, pane.Length()}}, kBlack);
        const TextRange red{lineStart(c.firstRed),
                            lineStart(c.lastRed + 1) - lineStart(c.firstRed)};
        pane.ColourRanges(std::vector{red}, kRed);
        widget.ScrollToPiece(c.topLine);
        const qsizetype lastEnd = pane.Content().LineEnd(c.lastRed);
        if (c.cutOff) {
            ASSERT_FALSE(widget.CaretBox(red.start).isEmpty()) << "its first line shows";
            ASSERT_TRUE(widget.CaretBox(lastEnd).isEmpty()) << "its last does not";
        }
        const qsizetype from = c.modifiers == Qt::ShiftModifier ? lineStart(c.topLine + 5) : 0;
        pane.Select(from, from);
        QTest::keyClick(&widget, Qt::Key_F8, c.modifiers);
        ASSERT_EQ(pane.Caret(), red.start);
        const QRectF first = widget.CaretBox(red.start);
        const QRectF last = widget.CaretBox(lastEnd);
        const qreal height = widget.viewport()->height();
        ASSERT_FALSE(first.isEmpty());
        if (c.taller) {
            EXPECT_NEAR(first.top(), height / 3, first.height());
        } else {
            ASSERT_FALSE(last.isEmpty());
            EXPECT_GE(first.top(), 0);
            EXPECT_LE(last.bottom(), height);
        }
    }
}
