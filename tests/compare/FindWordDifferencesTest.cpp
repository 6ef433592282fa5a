#include "compare/FindWordDifferences.h"

#include "Finish.h"
#include "PlainComparisons.h"
#include "ScriptedEventPump.h"
#include "ScriptedMsgBox.h"

#include <gtest/gtest.h>

#include <random>

using namespace Qt::StringLiterals;

namespace {

class FindWordDifferencesTest : public ::testing::Test {
protected:
    void Run(const QString& one, const QString& two) {
        pane1.SetText(one);
        pane2.SetText(two);
        GuardedProcedure proc(box, u"in Tarnwick2021/08/31.Form1.PushButton6_Click "_s);
        outcome = Finish(FindWordDifferences(panes, proc, pump, cancel));
    }

    static std::vector<TextRange> Red(const Pane& pane) { return pane.RangesOf(kRed); }

    Pane pane1, pane2, pane3, pane4;
    Panes panes{pane1, pane2, pane3, pane4};
    ScriptedMsgBox box;
    ScriptedEventPump pump;
    std::atomic<bool> cancel = false;
    RTB::Outcome outcome = RTB::Outcome::Finished;
};

} // namespace

TEST_F(FindWordDifferencesTest, ColoursAndListsTheUnmatchedWordsOfEachSide) {
    Run(u"one\r\ntwo three\r\nfour"_s, u"one\r\ntwo 3\r\n"_s);
    EXPECT_EQ(Red(pane1), (std::vector<TextRange>{{9, 5}, {16, 4}}));
    EXPECT_EQ(pane3.Text(), u"\r\nthree\r\nfour"_s);
    EXPECT_EQ(Red(pane2), (std::vector<TextRange>{{9, 1}}));
    EXPECT_EQ(pane4.Text(), u"\r\n3"_s);
    EXPECT_EQ(pane1.SelStart(), 16) << "the selection is left on the last word coloured";
    EXPECT_EQ(pane1.SelLength(), 4);
    EXPECT_TRUE(box.shown.empty());
}

TEST_F(FindWordDifferencesTest, StartsFromBlackPanesAndEmptyLists) {
    pane3.SetText(u"old list"_s);
    pane1.SetText(u"same\r\n"_s);
    pane1.ColourRanges(std::vector<TextRange>{{0, 4}}, kRed);
    Run(u"same\r\n"_s, u"same\r\n"_s);
    EXPECT_TRUE(Red(pane1).empty());
    EXPECT_EQ(pane3.Text(), QString());
    EXPECT_EQ(pane1.SelStart(), 0) << "with nothing coloured the whole text stays selected";
    EXPECT_EQ(pane1.SelLength(), 6);
}

TEST_F(FindWordDifferencesTest, AnEmptyWordTakesTheSelectionButColoursNothing) {
    Run(u"a  b"_s, u"a b"_s);
    EXPECT_TRUE(Red(pane1).empty());
    EXPECT_EQ(pane3.Text(), u"\r\n"_s);
    EXPECT_EQ(pane1.SelStart(), 2);
    EXPECT_EQ(pane1.SelLength(), 0);
}

TEST_F(FindWordDifferencesTest, OneEmptyPaneListsEveryWordOfTheOther) {
    Run(u"x y\r\nz"_s, {});
    EXPECT_EQ(pane3.Text(), u"\r\nx\r\ny\r\nz"_s);
    EXPECT_EQ(Red(pane1), (std::vector<TextRange>{{0, 1}, {2, 1}, {5, 1}}));
    EXPECT_EQ(pane4.Text(), QString());
    EXPECT_TRUE(box.shown.empty()) << "no error report for a missing partner";
}

// A load ends every text with CR; that CR belongs to no word, so texts that differ only by a final
// line break have no word the other lacks, on either side.
TEST_F(FindWordDifferencesTest, TheCRALoadAppendsIsNoWord) {
    const QString withoutBreak = u"a b\r\nf\r"_s;
    const QString withBreak = u"a b\r\nf\r\n\r"_s;
    for (const auto& [one, two] :
         {std::pair{withoutBreak, withBreak}, std::pair{withBreak, withoutBreak},
          std::pair{withBreak, withBreak}, std::pair{withoutBreak, withoutBreak}}) {
        Run(one, two);
        EXPECT_TRUE(Red(pane1).empty()) << one.size() << " against " << two.size();
        EXPECT_TRUE(Red(pane2).empty()) << one.size() << " against " << two.size();
        EXPECT_EQ(pane3.Text(), QString());
        EXPECT_EQ(pane4.Text(), QString());
    }
    // A real last word still ends before the CR.
    Run(u"a b\r\nf\r"_s, u"a b\r\ng\r\n\r"_s);
    EXPECT_EQ(pane3.Text(), u"\r\nf"_s);
    EXPECT_EQ(pane4.Text(), u"\r\ng"_s);
}

TEST_F(FindWordDifferencesTest, PanesBeyond32767UnitsAreComparedCompletely) {
    QString one, two;
    for (int i = 0; i < 5000; ++i) {
        one += u"word "_s + QString::number(i) + u"\r\n"_s;
        two += u"word "_s + QString::number(i == 4999 ? -1 : i) + u"\r\n"_s;
    }
    ASSERT_GT(one.size(), 40000);
    Run(one, two);
    EXPECT_EQ(pane3.Text(), u"\r\n4999"_s);
    EXPECT_EQ(pane4.Text(), u"\r\n-1"_s);
    EXPECT_EQ(Red(pane1), (std::vector<TextRange>{{one.size() - 6, 4}}));
    EXPECT_TRUE(box.shown.empty());
}

TEST_F(FindWordDifferencesTest, EachFullPaneTellsHowManyOfItsWordsWereNotSupplied) {
    Run(u"one two three\r\n"_s, u"one 2 3\r\n"_s);
    EXPECT_EQ(pane1.Summary(),
              u"2 words of this text are not supplied by their partner lines in Text File #2"_s);
    Run(u"a b\r\n"_s, u"a c\r\n"_s);
    EXPECT_EQ(pane2.Summary(),
              u"1 word of this text is not supplied by its partner line in Text File #1"_s);
}

// The look-alikes are counted after the passes are shown; when that fails, the summary says the
// count is missing instead of waiting for it for ever.
TEST_F(FindWordDifferencesTest, ACountThatFailsIsSaidToBeMissing) {
    pump.onPump = [&](int) {
        if (pump.asides >= 2)
            throw std::bad_alloc();
    };
    Run(u"one Two three\r\n"_s, u"one two 3\r\n"_s);
    EXPECT_EQ(pane1.Summary(), u"2 words of this text are not supplied by their partner lines in "
                               u"Text File #2 (too many to look for look-alikes)"_s);
}

TEST_F(FindWordDifferencesTest, ARedWordThatLooksLikeItsPartnerSaysWhatSetsItApart) {
    Run(u"one Two three\r\nfour\r"_s, u"one two 3\r\nfour\r"_s);
    EXPECT_EQ(pump.asides, 3)
        << "the passes, then the look-alikes of each, counted beside the window";
    EXPECT_EQ(pane1.Summary(), u"2 words of this text are not supplied by their partner lines in "
                               u"Text File #2, 1 of them a look-alike"_s);
    EXPECT_EQ(pane1.TipAt(5), u"Line 1 of Text File #2 has no `Two`\nDiffers from line 1 of Text "
                              u"File #2 only by: letter case"_s)
        << pane1.TipAt(5).toStdString();
    EXPECT_EQ(pane1.TipAt(9), u"Line 1 of Text File #2 has no `three`"_s)
        << "three has no look-alike";
    EXPECT_EQ(pane1.TipAt(1), QString()) << "one is not red";
    pane2.SetText(u"changed"_s);
    EXPECT_EQ(pane1.TipAt(5), QString()) << "the other text is no longer the one compared";
}

// The word comparison as the window runs it, on random texts of short words, blanks in runs and
// lone CRs and LFs, against its rules written plainly: the lists, the red words, the selection.
TEST_F(FindWordDifferencesTest, TheWindowsWordComparisonFollowsThePlainRules) {
    std::mt19937 random(9);
    const std::u16string_view alphabet = u"ab  \r\n\r\n";
    for (int round = 0; round < 300; ++round) {
        std::u16string texts[2];
        for (std::u16string& text : texts)
            for (int i = static_cast<int>(random() % 40); i > 0; --i)
                text.push_back(alphabet[random() % alphabet.size()]);
        Run(QString::fromStdU16String(texts[0]), QString::fromStdU16String(texts[1]));
        const Pane* shown[][2] = {{&pane1, &pane3}, {&pane2, &pane4}};
        for (int file = 0; file < 2; ++file) {
            const std::u16string_view own = texts[file];
            const plain::Marks marks = plain::PlainPass(own, texts[1 - file]);
            QString list;
            std::vector<TextRange> red;
            for (const plain::WordMark& mark : marks) {
                list += u"\r\n"_s + QString::fromStdU16String(
                                        std::u16string(own.substr(mark.start, mark.length)));
                if (mark.length > 0)
                    red.push_back(
                        {static_cast<qsizetype>(mark.start), static_cast<qsizetype>(mark.length)});
            }
            const Pane& full = *shown[file][0];
            ASSERT_EQ(shown[file][1]->Text(), list) << "round " << round << ", file " << file + 1;
            ASSERT_EQ(Red(full), red) << "round " << round << ", file " << file + 1;
            if (!marks.empty()) {
                EXPECT_EQ(full.SelStart(), static_cast<qsizetype>(marks.back().start));
                EXPECT_EQ(full.SelLength(), static_cast<qsizetype>(marks.back().length));
            }
        }
    }
}
