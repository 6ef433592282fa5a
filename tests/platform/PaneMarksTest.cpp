// Red marks from a list, kept as the list's places through edits, undo and redo: what each unit
// shows and which stretches the navigation keys select, held against the plain model and spelled
// out where it matters.
#include "PaneAgainstPlain.h"
#include "platform/Pane.h"
#include "platform/ResultList.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using Kind = PaneStep::Kind;

// Every stretch F8 goes through, from the start of the text on.
std::vector<TextRange> Stretches(const Pane& pane) {
    std::vector<TextRange> stretches;
    for (TextRange red = pane.RedNear(-1, true); red.length > 0;
         red = pane.RedNear(red.start, true))
        stretches.push_back(red);
    return stretches;
}

std::shared_ptr<const ResultList> MarkWords(Pane& pane, plain::PlainPane& model,
                                            const std::vector<TextRange>& words) {
    return MarkList(pane, model, words, ResultList::Form::Words);
}

// "w0 w1 w2 ...", `count` words.
std::u16string NumberedWords(int count) {
    std::u16string text;
    for (int i = 0; i < count; ++i) {
        text.push_back(u'w');
        text.push_back(static_cast<char16_t>(u'0' + i % 10));
        text.push_back(u' ');
    }
    return text;
}

// Every word of a text made by NumberedWords.
std::vector<TextRange> EveryWord(int count) {
    std::vector<TextRange> words;
    for (qsizetype i = 0; i < count; ++i)
        words.push_back({3 * i, 2});
    return words;
}

} // namespace

// "aa bb cc dd" with "bb" and "cc" marked; each row edits it once. The marks before the edit
// stay, those after it move, and one it cuts into loses exactly the units it removed and gains
// those it inserts after a unit of it. Undo gives back the marks as they were, redo the edit's.
TEST(PaneMarksTest, AnEditMovesCutsOrGrowsTheMarksItMeets) {
    struct Row {
        const char* what;
        qsizetype position, removed;
        const char16_t* inserted;
        std::vector<TextRange> stretches; // after the edit
    };
    const Row rows[] = {
        {"before the marks", 0, 1, u"xyz", {{5, 2}, {8, 2}}},
        {"after the marks", 11, 0, u"!", {{3, 2}, {6, 2}}},
        {"inside a mark", 4, 0, u"Q", {{3, 3}, {7, 2}}},
        {"at a mark's end", 5, 0, u"Z", {{3, 3}, {7, 2}}},
        {"at a mark's start", 3, 0, u"Z", {{4, 2}, {7, 2}}},
        {"across two marks", 4, 3, u"", {{3, 1}, {4, 1}}},
        {"across two marks, with new text", 4, 3, u"--", {{3, 3}, {6, 1}}},
        {"over a whole mark", 3, 2, u"", {{4, 2}}},
        {"over a whole mark, with new text", 2, 4, u"++", {{4, 2}}},
        {"over everything", 0, 11, u"new", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Pane pane;
        plain::PlainPane model;
        Apply({Kind::SetText, 0, 0, u"aa bb cc dd"}, pane, model);
        MarkWords(pane, model, {{3, 2}, {6, 2}});
        const auto before = Stretches(pane);
        const std::u16string inserted(row.inserted);
        Apply({Kind::Edit, static_cast<std::size_t>(row.position),
               static_cast<std::size_t>(row.removed), inserted},
              pane, model);
        EXPECT_EQ(Stretches(pane), row.stretches);
        EXPECT_EQ(Mismatch(pane, model), "");
        Apply({Kind::Undo}, pane, model);
        EXPECT_EQ(Stretches(pane), before) << "undone";
        EXPECT_EQ(Mismatch(pane, model), "") << "undone";
        Apply({Kind::Redo}, pane, model);
        EXPECT_EQ(Stretches(pane), row.stretches) << "redone";
        EXPECT_EQ(Mismatch(pane, model), "") << "redone";
    }
}

// At the start of the text new units take the colour of the unit after them: a mark there grows.
TEST(PaneMarksTest, UnitsTypedAtTheStartJoinAMarkThatBeginsThere) {
    Pane pane;
    plain::PlainPane model;
    Apply({Kind::SetText, 0, 0, u"bb cc"}, pane, model);
    MarkWords(pane, model, {{0, 2}});
    Apply({Kind::Edit, 0, 0, u"Z"}, pane, model);
    EXPECT_EQ(Stretches(pane), (std::vector<TextRange>{{0, 3}}));
    Apply({Kind::Edit, 0, 1, u"YY"}, pane, model);
    EXPECT_EQ(Stretches(pane), (std::vector<TextRange>{{0, 4}}));
    EXPECT_EQ(Mismatch(pane, model), "");
}

// A mark cut in two by a colour, or by undoing a part back in, is one stretch again once it is
// whole; marks that only meet stay two.
TEST(PaneMarksTest, ThePartsOfAMarkAreOneStretchAgainOnceTheyMeet) {
    const std::vector<std::vector<PaneStep>> scripts = {
        {{Kind::SetText, 0, 0, u"hello world"},
         {Kind::MarkWords, 0, 1},
         {Kind::Paint, 2, 1, {}, kBlack},
         {Kind::Edit, 2, 1}},
        {{Kind::SetText, 0, 0, u"hello world"},
         {Kind::MarkWords, 0, 1},
         {Kind::Edit, 2, 2},
         {Kind::Undo}},
        {{Kind::SetText, 0, 0, u"hello world"},
         {Kind::MarkWords, 0, 3},
         {Kind::Edit, 5, 1},
         {Kind::Edit, 2, 5},
         {Kind::Undo},
         {Kind::Undo},
         {Kind::Redo}},
    };
    const std::vector<std::vector<TextRange>> last = {{{0, 4}}, {{0, 5}}, {{0, 5}, {5, 5}}};
    for (std::size_t i = 0; i < scripts.size(); ++i) {
        Pane pane;
        plain::PlainPane model;
        for (std::size_t s = 0; s < scripts[i].size(); ++s) {
            Apply(scripts[i][s], pane, model);
            ASSERT_EQ(Mismatch(pane, model), "") << "script " << i << ", step " << s;
        }
        EXPECT_EQ(Stretches(pane), last[i]) << "script " << i;
    }
}

// Red lines, each with the CR that ends it: an edit inside one keeps it one stretch, one that
// joins two lines leaves two stretches side by side; undo puts every line back.
TEST(PaneMarksTest, LinesMarkedRedFollowEdits) {
    Pane pane;
    plain::PlainPane model;
    Apply({Kind::SetText, 0, 0, u"a\r\nred\r\nb\r\nred too\r\nc"}, pane, model);
    Apply({Kind::MarkLines, 0, 0b1010}, pane, model); // pieces 1 and 3
    const auto marked = Stretches(pane);
    EXPECT_EQ(marked, (std::vector<TextRange>{{2, 5}, {10, 9}})) << "the LF before, the CR after";
    const std::vector<PaneStep> steps = {
        {Kind::Edit, 4, 0, u"d r"},
        {Kind::Edit, 7, 5},
        {Kind::Type, 0, 0, u"x"},
        {Kind::Undo},
        {Kind::Undo},
        {Kind::Undo},
        {Kind::Redo},
        {Kind::Redo},
    };
    for (std::size_t s = 0; s < steps.size(); ++s) {
        Apply(steps[s], pane, model);
        ASSERT_EQ(Mismatch(pane, model), "") << "step " << s;
    }
    Apply({Kind::Undo}, pane, model);
    Apply({Kind::Undo}, pane, model);
    EXPECT_EQ(Stretches(pane), marked);
    EXPECT_EQ(Mismatch(pane, model), "");
}

// Edits in many places part the marks into many pieces; past the pane's limit they are packed
// anew. A pane that packs after every few edits and one that never does show the same colours and
// stretches at every step, both as the model does.
TEST(PaneMarksTest, MarksPackedAnewAfterManyEditsAreTheSameMarks) {
    std::u16string text;
    for (int word = 0; word < 300; ++word)
        text += word % 7 == 0 ? u"ccc\r\n" : u"ab ";
    Pane packing, keeping;
    plain::PlainPane model, same;
    packing.SetMarkPartLimit(5);
    for (auto [pane, plain] : {std::pair{&packing, &model}, std::pair{&keeping, &same}}) {
        Apply({Kind::SetText, 0, 0, text}, *pane, *plain);
        Apply({Kind::MarkWords, 0b0100'1001'0010'0101, 0b1011'0110'1101'1011}, *pane, *plain);
    }
    std::vector<PaneStep> steps;
    for (std::size_t i = 0; i < 60; ++i) {
        const std::size_t at = (i * 97) % 800;
        steps.push_back({Kind::Edit, at, i % 4, std::u16string(i % 3, u'z')});
        if (i % 5 == 4)
            steps.push_back({Kind::Undo});
        if (i % 10 == 9)
            steps.push_back({Kind::Redo});
        if (i % 13 == 12)
            steps.push_back({Kind::Paint, at, 9, {}, 0xFF0000});
    }
    for (std::size_t s = 0; s < steps.size(); ++s) {
        Apply(steps[s], packing, model);
        Apply(steps[s], keeping, same);
        ASSERT_EQ(Mismatch(packing, model), "") << "step " << s;
        ASSERT_EQ(Stretches(packing), Stretches(keeping)) << "step " << s;
    }
    while (packing.CanUndo()) {
        Apply({Kind::Undo}, packing, model);
        ASSERT_EQ(Mismatch(packing, model), "");
    }
}

// A million words marked red stay a list through edits, undo and redo: the pane holds no colour
// run for each of them.
TEST(PaneMarksTest, AnEditKeepsMillionsOfMarksAsTheirList) {
    QString text;
    for (int i = 0; i < 1'000'000; ++i)
        text += u"ab "_s;
    Pane pane;
    pane.SetText(text);
    ResultList::Builder builder(pane.Text(), ResultList::Form::Words, 1'000'000);
    for (qsizetype i = 0; i < 1'000'000; ++i)
        builder.Add({3 * i, 2});
    pane.MarkRed(std::make_shared<const ResultList>(std::move(builder).Finish()));
    const qint64 marked = pane.MemoryBytes();
    pane.Edit(1, 0, u"x"_s);
    pane.Edit(pane.Length() - 4, 3, u"yy"_s);
    pane.Undo();
    pane.Redo();
    EXPECT_LT(pane.MemoryBytes() - marked, 100'000) << "no runs for the marks";
    EXPECT_EQ(pane.RedNear(-1, true), (TextRange{0, 3}));
    EXPECT_EQ(pane.RedNear(pane.Length(), false), (TextRange{pane.Length() - 5, 4}));
    EXPECT_EQ(pane.ColourAt(pane.Length() - 6), kBlack);
}

// What an edit took away is kept for undo. Where it held a few marks of a list, it keeps them on
// its own: once a new comparison has marked the text anew, the old list (and the text it was cut
// from) goes, and undo still gives the old marks back. An edit that took most of them shares the
// list as it is.
TEST(PaneMarksTest, UndoHoldsOnToAListOnlyForMostOfItsMarks) {
    struct Row {
        const char* what;
        std::size_t at, removed;
        bool listKept;
    };
    const Row rows[] = {
        {"one word", 3, 3, false},
        {"a few words", 4, 10, false},
        {"most words", 2, 50, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Pane pane;
        plain::PlainPane model;
        Apply({Kind::SetText, 0, 0, NumberedWords(20)}, pane, model);
        std::weak_ptr<const ResultList> first = MarkWords(pane, model, EveryWord(20));
        Apply({Kind::Edit, row.at, row.removed}, pane, model);
        MarkWords(pane, model, {{0, 2}});
        EXPECT_EQ(!first.expired(), row.listKept);
        Apply({Kind::Undo}, pane, model);
        EXPECT_EQ(Mismatch(pane, model), "");
        Apply({Kind::Redo}, pane, model);
        Apply({Kind::Undo}, pane, model);
        EXPECT_EQ(Mismatch(pane, model), "");
    }
}

// After many edits in many places the marks are packed anew: a million words in about a byte each.
TEST(PaneMarksTest, MillionsOfMarksPackedAnewTakeAFewBytesEach) {
    QString text;
    for (int i = 0; i < 1'000'000; ++i)
        text += u"ab "_s;
    Pane pane;
    pane.SetText(text);
    ResultList::Builder builder(pane.Text(), ResultList::Form::Words, 1'000'000);
    for (qsizetype i = 0; i < 1'000'000; ++i)
        builder.Add({3 * i, 2});
    const auto list = std::make_shared<const ResultList>(std::move(builder).Finish());
    pane.MarkRed(list);
    pane.SetMarkPartLimit(4);
    for (qsizetype at = 1; at < 3'000'000; at += 600'000)
        pane.Edit(at, 1, {});
    pane.Edit(0, 0, u"x"_s);
    const qint64 held = 2 * pane.Length() + 4 * pane.Content().LineCount();
    EXPECT_LT(pane.MemoryBytes() - held, 2'000'000) << "about a byte a mark";
    // Each edit took one letter or blank: every word is still a stretch, and its letters all red.
    EXPECT_EQ(Stretches(pane).size(), 1'000'000u);
    qsizetype red = 0;
    pane.ForEachColourRun(0, pane.Length(), [&](TextRange run, Colour colour) {
        if (colour == kRed)
            red += run.length;
    });
    EXPECT_EQ(red, pane.Length() - pane.Text().count(u' '));
}

// The list of the marks counts where a result pane shows it; once no pane does, the pane that
// marks it counts it.
TEST(PaneMarksTest, AListNoPaneShowsCountsWithItsMarks) {
    Pane pane;
    plain::PlainPane model;
    Apply({Kind::SetText, 0, 0, NumberedWords(1000)}, pane, model);
    std::shared_ptr<const ResultList> shown = MarkWords(pane, model, EveryWord(1000));
    const qint64 withListShown = pane.MemoryBytes();
    const qint64 listBytes = shown->MemoryBytes();
    ASSERT_GT(listBytes, 0);
    shown.reset();
    EXPECT_EQ(pane.MemoryBytes(), withListShown + listBytes);
}
