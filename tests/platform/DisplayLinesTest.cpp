#include "platform/DisplayLines.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

std::vector<qsizetype> Starts(const DisplayLines& lines) {
    std::vector<qsizetype> starts;
    for (qsizetype i = 0; i < lines.Count(); ++i)
        starts.push_back(lines.Start(i));
    return starts;
}

} // namespace

TEST(DisplayLinesTest, EveryKindOfBreakEndsOneLine) {
    DisplayLines lines;
    const QString text = u"a\r\nb\rc\nd\r\n"_s;
    lines.Rebuild(text);
    EXPECT_EQ(Starts(lines), (std::vector<qsizetype>{0, 3, 5, 7, 10}));
    EXPECT_EQ(lines.BreakLength(text, 0), 2);
    EXPECT_EQ(lines.BreakLength(text, 1), 1);
    EXPECT_EQ(lines.BreakLength(text, 2), 1);
    EXPECT_EQ(lines.BreakLength(text, 4), 0);
    EXPECT_EQ(DisplayLines::ToDisplay(text), u"a\nb\nc\nd\n"_s);
}

TEST(DisplayLinesTest, ExtendJoinsACRAndTheLFThatFollowsIt) {
    DisplayLines lines;
    QString text = u"x\r"_s;
    lines.Rebuild(text);
    text += u"\ny\r"_s;
    EXPECT_EQ(lines.Extend(text, 2), 3) << "the LF completes the old break";
    EXPECT_EQ(Starts(lines), (std::vector<qsizetype>{0, 3, 5}));
    DisplayLines fresh;
    fresh.Rebuild(text);
    EXPECT_EQ(Starts(fresh), Starts(lines));
}

TEST(DisplayLinesTest, EditorBreakCharactersKeepTheirPlace) {
    const QString text = u"a"_s + QChar::ParagraphSeparator + u"b"_s;
    EXPECT_EQ(DisplayLines::ToDisplay(text).size(), 3);
    EXPECT_EQ(DisplayLines::ToDisplay(text)[1], QChar::ReplacementCharacter);
    EXPECT_EQ(DisplayLines::FromDisplay(u"a"_s + QChar::ParagraphSeparator + u"b"_s), u"a\r\nb"_s);
}
