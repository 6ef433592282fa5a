#include "files/LineBreaks.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(LineBreaksTest, CountsOnlyBreaksThatGrow) {
    EXPECT_EQ(CountLoneLineBreaks(QByteArrayView("")), 0);
    EXPECT_EQ(CountLoneLineBreaks(QByteArrayView("a\r\nb\r\n")), 0);
    EXPECT_EQ(CountLoneLineBreaks(QByteArrayView("\n\r\r\n\r")), 3);
    EXPECT_EQ(CountLoneLineBreaks(u"\r\r\n\n"_s), 2);
    // CR and LF are units in the file's byte order, not any 0x0D or 0x0A byte.
    const QByteArrayView units("\x0A\x0D\x0D\x00", 4);
    EXPECT_EQ(CountLoneLineBreaksUtf16(units, false), 1); // U+0D0A, then a lone CR
    EXPECT_EQ(CountLoneLineBreaksUtf16(units, true), 0);  // U+0A0D, U+0D00
    EXPECT_EQ(CountLoneLineBreaksUtf16(QByteArrayView("\x00\x0D\x00\x0A\x00\x0A", 6), true), 1);
}

TEST(LineBreaksTest, WriterSurvivesAWrongSizeGuess) {
    CrLfWriter tooSmall(0);
    tooSmall.Write(u"a\rb\n");
    tooSmall.Write(u"\nc\r");
    tooSmall.Write(u"\nd");
    EXPECT_EQ(std::move(tooSmall).Finish(), u"a\r\nb\r\n\r\nc\r\nd"_s);

    CrLfWriter tooLarge(100);
    tooLarge.Write(u"x\n");
    EXPECT_EQ(std::move(tooLarge).Finish(), u"x\r\n"_s);
}
