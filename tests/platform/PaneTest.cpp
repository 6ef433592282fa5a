#include "platform/Pane.h"

#include "platform/Failure.h"
#include "platform/ResultList.h"
#include "platform/TextFileForm.h"
#include "platform/WorkProgress.h"

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

TEST(PaneTest, RedMarksShowOverAnyColourAndStayRedThroughAnEdit) {
    Pane pane;
    pane.SetText(u"ab cd ef"_s);
    pane.ColourRanges(std::vector<TextRange>{{0, 8}}, 0xFF0000);
    ResultList::Builder builder(pane.Text(), ResultList::Form::Words);
    builder.Add({3, 2});
    pane.MarkRed(std::make_shared<const ResultList>(std::move(builder).Finish()));
    EXPECT_EQ(pane.RangesOf(kRed), (std::vector<TextRange>{{3, 2}}));
    pane.Edit(8, 0, u"!"_s);
    EXPECT_EQ(pane.RangesOf(kRed), (std::vector<TextRange>{{3, 2}}));
    EXPECT_EQ(pane.ColourAt(8), 0xFF0000u);
}

TEST(PaneTest, AListIsShownByPlaceInAnEmptyPaneAndSpelledOutAfterText) {
    const QString source = u"keep\r\ngone\r\nlost\r"_s;
    ResultList::Builder builder(source, ResultList::Form::Pieces);
    builder.Add({5, 5}); // LF gone
    builder.Add({11, 5});
    const auto list = std::make_shared<const ResultList>(std::move(builder).Finish());
    Pane byPlace;
    byPlace.AppendList(list);
    EXPECT_EQ(&byPlace.Content(), list.get()) << "no copy of the text";
    EXPECT_EQ(byPlace.Text(), u"\ngone\r\nlost\r"_s);
    Pane afterText;
    afterText.SetText(u"x"_s);
    afterText.AppendList(list);
    EXPECT_EQ(afterText.Text(), u"x\ngone\r\nlost\r"_s);
    // Editing a list turns it into text of its own.
    byPlace.Edit(0, 1, u"G"_s);
    EXPECT_EQ(byPlace.Text(), u"Ggone\r\nlost\r"_s);
    EXPECT_EQ(list->Mid(0, list->Length()), u"\ngone\r\nlost\r"_s) << "the list is untouched";
}

// A save writes a text as its file had it only while it is the file's own; an edited text keeps
// its file's line breaks; an emptied pane and a new text hold typed text.
TEST(PaneTest, ATextIsItsFilesOwnUntilItChangesAndKeepsItsFileUntilItIsReplaced) {
    Pane pane;
    const auto form = std::make_shared<const TextFileForm>();
    pane.SetText(u"a\r\nb"_s);
    pane.SetFileForm(form);
    EXPECT_TRUE(pane.AsInFile());
    pane.SetSelColor(kRed);
    EXPECT_TRUE(pane.AsInFile()) << "colour is no change of the text";
    pane.Edit(0, 0, u"x"_s, true);
    EXPECT_FALSE(pane.AsInFile());
    pane.Undo();
    EXPECT_FALSE(pane.AsInFile()) << "an undone edit is not known to be the file's text";
    EXPECT_EQ(pane.FileForm(), form) << "an edited text keeps its file";
    pane.Edit(0, pane.Length(), {});
    EXPECT_EQ(pane.FileForm(), nullptr) << "what is typed into an empty pane is typed text";

    pane.SetText(u"loaded"_s);
    pane.SetFileForm(form);
    pane.SetText(u"other"_s);
    EXPECT_EQ(pane.FileForm(), nullptr);
    EXPECT_FALSE(pane.AsInFile());
}

// A list is known as a list, shown by place or written out, until it changes in any other way.
TEST(PaneTest, AListIsKnownAsOneUntilItsTextChangesOtherwise) {
    const QString source = u"one two\r\nthree\r"_s;
    ResultList::Builder builder(source, ResultList::Form::Words);
    builder.Add({4, 3});
    builder.Add({9, 6}); // "three\r": a break of its own, so it cannot be shown by place
    const auto list = std::make_shared<const ResultList>(std::move(builder).Finish());
    Pane pane;
    pane.AppendList(list);
    EXPECT_NE(&pane.Content(), list.get());
    EXPECT_EQ(pane.Listed(), list);
    pane.Edit(0, 0, u"x"_s);
    EXPECT_EQ(pane.Listed(), nullptr);
    pane.AppendList(list);
    EXPECT_EQ(pane.Listed(), nullptr) << "text and a list are no list";
}

TEST(PaneTest, AnEditKeepsTheRedMarksOfTheRestOfTheText) {
    Pane pane;
    pane.SetText(u"aa bb cc"_s);
    ResultList::Builder builder(pane.Text(), ResultList::Form::Words);
    builder.Add({3, 2});
    builder.Add({6, 2});
    pane.MarkRed(std::make_shared<const ResultList>(std::move(builder).Finish()));
    pane.Edit(0, 1, u"xyz"_s); // "xyza bb cc"
    EXPECT_EQ(pane.RangesOf(kRed), (std::vector<TextRange>{{5, 2}, {8, 2}}));
    pane.Undo();
    EXPECT_EQ(pane.Text(), u"aa bb cc"_s);
    EXPECT_EQ(pane.RangesOf(kRed), (std::vector<TextRange>{{3, 2}, {6, 2}}));
}

// Each row: a text with red units, an edit, then undo and redo; the text, the colours and the
// selection must follow at each stage.
TEST(PaneTest, UndoAndRedoGiveBackTextColoursAndSelection) {
    struct Row {
        const char16_t* text;
        TextRange red;
        qsizetype position, removed;
        const char16_t* inserted;
        const char16_t* edited;
        std::vector<TextRange> redAfterEdit;
    };
    const Row rows[] = {
        {u"red\r\nblack", {0, 3}, 1, 0, u"ee", u"reeed\r\nblack", {{0, 5}}},
        {u"red\r\nblack", {0, 3}, 0, 5, u"", u"black", {}},
        {u"ab\r\ncd", {3, 1}, 2, 2, u"-", u"ab-cd", {}},
        {u"xy", {0, 2}, 2, 0, u"z", u"xyz", {{0, 3}}},
    };
    for (const Row& row : rows) {
        Pane pane;
        pane.SetText(QString::fromUtf16(row.text));
        pane.ColourRanges(std::span(&row.red, 1), kRed);
        pane.Select(1, 1);
        const auto red = pane.RangesOf(kRed);
        pane.Edit(row.position, row.removed, QString::fromUtf16(row.inserted));
        EXPECT_EQ(pane.Text(), QString::fromUtf16(row.edited));
        EXPECT_EQ(pane.RangesOf(kRed), row.redAfterEdit) << pane.Text().toStdString();
        EXPECT_EQ(pane.Caret(), row.position + QString::fromUtf16(row.inserted).size());
        pane.Undo();
        EXPECT_EQ(pane.Text(), QString::fromUtf16(row.text));
        EXPECT_EQ(pane.RangesOf(kRed), red) << "the removed units' own colours come back";
        EXPECT_EQ(pane.Caret(), 1);
        pane.Redo();
        EXPECT_EQ(pane.Text(), QString::fromUtf16(row.edited));
        EXPECT_FALSE(pane.CanRedo());
    }
}

TEST(PaneTest, TypingIsUndoneAsOneStepAndAWriteForgetsTheHistory) {
    Pane pane;
    for (const char16_t* unit : {u"a", u"b", u"c"})
        pane.Edit(pane.Caret(), 0, QString::fromUtf16(unit), true);
    pane.Edit(pane.Caret(), 0, u"!"_s); // not typed: a step of its own
    pane.Undo();
    EXPECT_EQ(pane.Text(), u"abc"_s);
    pane.Undo();
    EXPECT_EQ(pane.Text(), QString());
    EXPECT_FALSE(pane.CanUndo());
    pane.Redo();
    pane.SetText(u"new"_s);
    EXPECT_FALSE(pane.CanUndo());
    EXPECT_FALSE(pane.CanRedo());
}

TEST(PaneTest, ProgressIsShownOnlyOnceWorkHasRunAWhileAndGoesWithIt) {
    Pane one, two;
    {
        WorkProgress progress({&one, &two});
        progress.Show(1, 4);
        EXPECT_EQ(one.Progress(), std::nullopt) << "too soon to be worth showing";
    }
    {
        WorkProgress progress({&one, &two}, std::chrono::milliseconds(0));
        progress.Show(1, 4);
        EXPECT_EQ(one.Progress(), 250);
        EXPECT_EQ(two.Progress(), 250);
        progress.Show(0, 0);
        EXPECT_TRUE(one.Progress().has_value()) << "an amount not known yet still shows";
    }
    EXPECT_EQ(one.Progress(), std::nullopt);
    EXPECT_EQ(two.Progress(), std::nullopt);
}
