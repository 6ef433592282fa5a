#include "platform/LineNumberGutter.h"
#include "platform/GutterDigits.h"
#include "platform/Pane.h"
#include "platform/PaneWidget.h"

#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class LineNumberGutterTest : public ::testing::Test {
protected:
    LineNumberGutterTest() {
        widget.resize(300, 400);
        widget.show();
        widget.setFocus();
        widget.ShowLineNumbers(true);
    }

    LineNumberGutter& Gutter() { return *widget.Gutter(); }

    std::vector<qsizetype> Numbers() {
        std::vector<qsizetype> numbers;
        for (const LineNumberGutter::Label& label : Gutter().Labels())
            numbers.push_back(label.number);
        return numbers;
    }

    // Where the number of a line is drawn, or nothing when it is not.
    std::optional<qreal> BaselineOf(qsizetype number) {
        for (const LineNumberGutter::Label& label : Gutter().Labels())
            if (label.number == number)
                return label.baseline;
        return std::nullopt;
    }

    Pane pane;
    PaneWidget widget{pane};
};

std::vector<qsizetype> Range(qsizetype first, qsizetype last) {
    std::vector<qsizetype> numbers;
    for (qsizetype n = first; n <= last; ++n)
        numbers.push_back(n);
    return numbers;
}

} // namespace

// A line that wraps onto many rows, or is cut into many pieces, has its number once, beside its
// first row; the next number stands below all of its rows.
TEST_F(LineNumberGutterTest, ALongLineHasItsNumberOnItsFirstRowOnly) {
    const struct {
        const char* what;
        QString line;
    } cases[] = {
        {"wrapped at blanks", QString(40, u'w').append(u' ').repeated(8)},
        {"cut into pieces", QString(1500, u'x')},
    };
    widget.resize(1000, 600);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        pane.SetText(u"short\r\n"_s + c.line + u"\r\nlast"_s);
        EXPECT_EQ(Numbers(), Range(1, 3));
        const QRectF firstRow = widget.CaretBox(7);
        const QRectF lastRow = widget.CaretBox(7 + c.line.size());
        ASSERT_GT(lastRow.top(), firstRow.top() + firstRow.height()) << "the line wraps";
        ASSERT_TRUE(BaselineOf(2) && BaselineOf(3));
        EXPECT_NEAR(*BaselineOf(2), firstRow.top(), firstRow.height());
        EXPECT_GT(*BaselineOf(3), lastRow.bottom()) << "below the long line's last row";
    }
}

// Numbers are the lines of the text as it is now: a break typed or deleted renumbers what follows,
// whichever kind of break it is.
TEST_F(LineNumberGutterTest, NumbersFollowInsertedAndDeletedBreaks) {
    pane.SetText(u"one\r\ntwo\rthree\nfour"_s);
    EXPECT_EQ(Numbers(), Range(1, 4));
    const qreal fourth = BaselineOf(4).value_or(-1);
    pane.Select(1, 1);
    QTest::keyClick(&widget, Qt::Key_Return);
    EXPECT_EQ(Numbers(), Range(1, 5));
    EXPECT_EQ(pane.Content().LineView(4).toString(), u"four"_s);
    EXPECT_GT(BaselineOf(5).value_or(-1), fourth) << "the last line is numbered a row lower";
    QTest::keyClick(&widget, Qt::Key_Backspace);
    EXPECT_EQ(Numbers(), Range(1, 4));
    pane.Select(9, 9); // after "two"'s lone CR
    QTest::keyClick(&widget, Qt::Key_Backspace);
    EXPECT_EQ(Numbers(), Range(1, 3));
    EXPECT_EQ(pane.Text(), u"one\r\ntwothree\nfour"_s);
}

TEST_F(LineNumberGutterTest, ScrolledTextIsNumberedFromItsTopLine) {
    QString text;
    for (int i = 1; i <= 1000; ++i)
        text += u"line "_s + QString::number(i) + u"\r\n"_s;
    pane.SetText(text);
    widget.verticalScrollBar()->setValue(600);
    const std::vector<qsizetype> numbers = Numbers();
    ASSERT_FALSE(numbers.empty());
    EXPECT_EQ(numbers.front(), 601);
    EXPECT_EQ(numbers, Range(601, numbers.back()));
    widget.verticalScrollBar()->setValue(widget.verticalScrollBar()->maximum());
    EXPECT_EQ(Numbers().back(), 1001) << "the empty line after the last break";
}

// The gutter takes its room from the text, and takes it again only when the digits it needs
// change by enough: typing across a thousand lines and back shifts the text once.
TEST_F(LineNumberGutterTest, TheTextMovesAsideOnlyWhenTheDigitsNeedIt) {
    pane.SetText(u"a\r\n"_s.repeated(998) + u"end"_s); // 999 lines
    const int left = widget.viewport()->x();
    EXPECT_EQ(Gutter().Digits(), 3);
    EXPECT_EQ(Gutter().x() + Gutter().width(), left) << "left of the text, inside the pane";
    pane.Select(pane.Length(), pane.Length());
    QTest::keyClick(&widget, Qt::Key_Return);
    EXPECT_EQ(Gutter().Digits(), 4);
    const int widened = widget.viewport()->x();
    EXPECT_GT(widened, left);
    QTest::keyClick(&widget, Qt::Key_Backspace);
    QTest::keyClick(&widget, Qt::Key_Return);
    QTest::keyClick(&widget, Qt::Key_Backspace);
    EXPECT_EQ(widget.viewport()->x(), widened) << "no shift back and forth while typing";
    pane.SetText(u"new"_s);
    EXPECT_EQ(widget.viewport()->x(), left) << "a new text gets its own room";
    widget.ShowLineNumbers(false);
    EXPECT_EQ(widget.Gutter(), nullptr);
    EXPECT_LT(widget.viewport()->x(), left);
    EXPECT_EQ(widget.PositionAt(QPointF(2, 5)), 0) << "the text is where the gutter was";
}

// Each row: the room a text was given, then the largest number after an edit, and the room that
// follows: it grows at once, shrinks only when two digits fewer would do, never below three.
TEST(GutterDigitsTest, GrowsAtOnceAndShrinksOnlyByTwoDigits) {
    const struct {
        qsizetype loaded;
        qsizetype edited;
        int digits;
        bool changed;
    } rows[] = {
        {5, 9, 3, false},
        {5, 999, 3, false},
        {999, 1000, 4, true},
        {1000, 999, 4, false},
        {10'000, 9'999, 5, false},
        {10'000, 999, 3, true},
        {1'000'000, 999'999, 7, false},
        {1'000'000, 9'999, 4, true},
        {0, 0, 3, false},
    };
    for (const auto& row : rows) {
        GutterDigits digits;
        digits.Reset(row.loaded);
        EXPECT_EQ(digits.Follow(row.edited), row.changed) << row.loaded << " -> " << row.edited;
        EXPECT_EQ(digits.Digits(), row.digits) << row.loaded << " -> " << row.edited;
    }
    GutterDigits digits;
    digits.Reset(123'456);
    EXPECT_TRUE(digits.Reset(12)) << "a new text gets exactly its room";
    EXPECT_EQ(digits.Digits(), 3);
}
