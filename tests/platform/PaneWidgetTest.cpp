#include "platform/PaneWidget.h"

#include "platform/Pane.h"

#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QUrl>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class PaneWidgetTest : public ::testing::Test {
protected:
    PaneWidgetTest() {
        widget.resize(300, 400);
        widget.show();
    }

    // Paints once, which is when colours reach the lines on screen.
    void Paint() { widget.grab(); }

    // Units of a block that carry a coloured format.
    std::vector<std::pair<int, int>> ColouredSpans(int blockNumber) {
        std::vector<std::pair<int, int>> spans;
        const QTextBlock block = widget.document()->findBlockByNumber(blockNumber);
        for (const QTextLayout::FormatRange& f : block.layout()->formats())
            spans.emplace_back(f.start, f.length);
        return spans;
    }

    Pane pane;
    PaneWidget widget{pane};
};

} // namespace

TEST_F(PaneWidgetTest, ShowsEveryBreakOfThePaneAsOneLineBreak) {
    pane.SetText(u"one\r\ntwo\rthree\nfour\r"_s);
    EXPECT_EQ(widget.toPlainText(), u"one\ntwo\nthree\nfour\n"_s);
    EXPECT_EQ(widget.document()->blockCount(), 5);
    EXPECT_EQ(pane.Text(), u"one\r\ntwo\rthree\nfour\r"_s) << "showing changes nothing";
}

TEST_F(PaneWidgetTest, TypedAndPastedBreaksReachThePaneAsCRLF) {
    widget.setFocus();
    QTest::keyClicks(&widget, u"ab"_s);
    QTest::keyClick(&widget, Qt::Key_Return);
    QTest::keyClicks(&widget, u"c"_s);
    EXPECT_EQ(pane.Text(), u"ab\r\nc"_s);
    widget.insertPlainText(u"\nd\r\ne"_s);
    EXPECT_EQ(pane.Text(), u"ab\r\nc\r\nd\r\ne"_s);
}

TEST_F(PaneWidgetTest, EditsAcrossLoneBreaksRemoveExactlyThoseBreaks) {
    pane.SetText(u"a\rb\nc"_s);
    QTextCursor cursor(widget.document());
    cursor.setPosition(1);
    cursor.setPosition(4, QTextCursor::KeepAnchor); // the CR, b and the LF
    cursor.insertText(u"X"_s);
    EXPECT_EQ(pane.Text(), u"aXc"_s);
    widget.undo();
    EXPECT_EQ(pane.Text(), u"a\r\nb\r\nc"_s) << "breaks typed back come in as CR LF";
}

TEST_F(PaneWidgetTest, UserEditsKeepTheColourOfTheTextAroundThem) {
    pane.SetText(u"red\r\nblack"_s);
    pane.ColourRanges(std::vector<TextRange>{{0, 3}}, kRed);
    QTextCursor cursor(widget.document());
    cursor.setPosition(1);
    cursor.insertText(u"ee"_s);
    EXPECT_EQ(pane.Text(), u"reeed\r\nblack"_s);
    EXPECT_EQ(pane.Colours().RangesOf(kRed), (std::vector<TextRange>{{0, 5}}));
}

TEST_F(PaneWidgetTest, ColoursReachTheLinesOnScreen) {
    pane.SetText(u"keep\r\nred line\r\nkeep"_s);
    pane.ColourRanges(std::vector<TextRange>{{4, 12}}, kRed); // CR LF, "red line", CR LF
    Paint();
    EXPECT_TRUE(ColouredSpans(0).empty());
    EXPECT_EQ(ColouredSpans(1), (std::vector<std::pair<int, int>>{{0, 8}}));
    pane.ColourRanges(std::vector<TextRange>{{0, pane.Text().size()}}, kBlack);
    Paint();
    EXPECT_TRUE(ColouredSpans(1).empty());
}

TEST_F(PaneWidgetTest, AppendedTextJoinsABreakSplitBetweenTwoAppends) {
    pane.AppendText(u"first\r"_s);
    pane.AppendText(u"\nsecond\r"_s);
    EXPECT_EQ(widget.toPlainText(), u"first\nsecond\n"_s);
    EXPECT_EQ(widget.Lines().Count(), widget.document()->blockCount());
    widget.document()->undo();
    EXPECT_EQ(pane.Text(), u"first\r\nsecond\r"_s) << "the program's appends are not undone";
}

TEST_F(PaneWidgetTest, FollowsThePanesVisibility) {
    pane.SetVisible(false);
    EXPECT_FALSE(widget.isVisible());
    pane.SetVisible(true);
    EXPECT_TRUE(widget.isVisible());
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
