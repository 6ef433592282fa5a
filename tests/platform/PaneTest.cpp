#include "platform/Pane.h"

#include "platform/Failure.h"
#include "platform/ResultList.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(PaneTest, TextReadsBackExactlyAsWritten) {
    Pane pane;
    const QString text = u"a\rb\nc\r\n\r\rd\n"_s;
    pane.SetText(text);
    EXPECT_EQ(pane.Text(), text);
    pane.SetText({});
    EXPECT_EQ(pane.Text(), QString());
}

TEST(PaneTest, SelectionIndexesTheTextWithCRLFCountingTwo) {
    Pane pane;
    pane.SetText(u"ab\r\ncd"_s);
    pane.SetSelStart(5);
    pane.SetSelLength(1);
    pane.SetSelColor(kRed);
    EXPECT_EQ(pane.Text().mid(pane.SelStart(), pane.SelLength()), u"d"_s);
    EXPECT_EQ(pane.RangesOf(kRed), (std::vector<TextRange>{{5, 1}}));
    EXPECT_EQ(pane.Text(), u"ab\r\ncd"_s) << "colouring never changes the text";
}

TEST(PaneTest, SelectionStaysWithinTheTextAndRejectsNegatives) {
    Pane pane;
    pane.SetText(u"abc"_s);
    pane.SetSelStart(1);
    pane.SetSelLength(10);
    EXPECT_EQ(pane.SelLength(), 2);
    pane.SetSelStart(10);
    EXPECT_EQ(pane.SelStart(), 3);
    EXPECT_EQ(pane.SelLength(), 0) << "moving the start empties the selection";
    EXPECT_THROW(pane.SetSelStart(-1), Failure);
    EXPECT_THROW(pane.SetSelLength(-1), Failure);
}

TEST(PaneTest, WritingTextDropsColourButAppendingKeepsIt) {
    Pane pane;
    pane.SetText(u"red\r"_s);
    pane.SetSelStart(0);
    pane.SetSelLength(3);
    pane.SetSelColor(kRed);
    pane.AppendText(u"\nmore"_s);
    EXPECT_EQ(pane.Text(), u"red\r\nmore"_s);
    EXPECT_EQ(pane.RangesOf(kRed), (std::vector<TextRange>{{0, 3}}));
    pane.SetText(u"red\r"_s);
    EXPECT_TRUE(pane.RangesOf(kRed).empty());
}

TEST(PaneTest, TextGenerationCountsTextChangesOnly) {
    Pane pane;
    const auto start = pane.TextGeneration();
    pane.SetText(u"x"_s);
    pane.SetSelStart(0);
    pane.SetSelLength(1);
    pane.SetSelColor(kRed);
    EXPECT_EQ(pane.TextGeneration(), start + 1);
    pane.Edit(1, 0, u"y");
    pane.AppendText(u"z");
    EXPECT_EQ(pane.TextGeneration(), start + 3);
    EXPECT_EQ(pane.Text(), u"xyz"_s);
}

TEST(PaneTest, RedMarksFromAListMustBeCutFromThePanesOwnText) {
    Pane pane;
    pane.SetText(u"ab cd ef"_s);
    ResultList::Builder builder(pane.Text(), ResultList::Form::Words);
    builder.Add({3, 2});
    builder.Add({6, 0}); // an empty word marks nothing
    auto list = std::make_shared<const ResultList>(std::move(builder).Finish());
    pane.MarkRed(list);
    EXPECT_EQ(pane.RangesOf(kRed), (std::vector<TextRange>{{3, 2}}));
    EXPECT_EQ(pane.ColourAt(4), kRed);
    EXPECT_EQ(pane.ColourAt(5), kBlack);

    Pane other;
    other.SetText(QString::fromUtf8("ab cd ef")); // equal, but another text
    EXPECT_THROW(other.MarkRed(list), Failure);
    EXPECT_TRUE(other.RangesOf(kRed).empty());
}
