#include "compare/FindDifferences.h"

#include "app/MemoryBound.h"
#include "compare/OneTableMembership.h"

#include "Finish.h"
#include "PlainComparisons.h"
#include "ScriptedEventPump.h"
#include "ScriptedMsgBox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>

using namespace Qt::StringLiterals;

namespace {

class FindDifferencesTest : public ::testing::Test {
protected:
    void Load(const QString& one, const QString& two) {
        pane1.SetText(one);
        pane2.SetText(two);
        pane3.SetText({});
        pane4.SetText({});
    }

    // Both directions, as the button runs them.
    void RunBoth() {
        RTB::LineComparisonRun run(panes, pump, cancel);
        ASSERT_EQ(Finish(RTB::FindDifferencesIn1(run, box)), RTB::Outcome::Finished);
        ASSERT_EQ(Finish(RTB::FindDifferencesIn2(run, box)), RTB::Outcome::Finished);
    }

    RTB::Outcome RunFirst() {
        RTB::LineComparisonRun run(panes, pump, cancel);
        return Finish(RTB::FindDifferencesIn1(run, box));
    }

    static std::vector<TextRange> Red(const Pane& pane) { return pane.RangesOf(kRed); }

    Pane pane1, pane2, pane3, pane4;
    Panes panes{pane1, pane2, pane3, pane4};
    ScriptedEventPump pump;
    ScriptedMsgBox box;
    std::atomic<bool> cancel = false;
};

} // namespace

TEST_F(FindDifferencesTest, LinesThatOnlyMovedAreNotDifferences) {
    // A line first in one file and later in the other differs only by the LF cutting leaves.
    Load(u"a\r\nb\r\nc\r"_s, u"b\r\na\r\nc\r\n\r"_s);
    RunBoth();
    EXPECT_EQ(pane3.Text(), QString());
    EXPECT_EQ(pane4.Text(), QString()) << "an LF-only piece equals the empty piece";
    EXPECT_TRUE(Red(pane1).empty());
    EXPECT_TRUE(Red(pane2).empty());
    EXPECT_TRUE(box.shown.empty());
}

TEST_F(FindDifferencesTest, ListsAndColoursEachMissingLineInBothDirections) {
    Load(u"same\r\nonly one\r\nsame too\r"_s, u"same too\r\nonly two\r\nsame\r"_s);
    RunBoth();
    EXPECT_EQ(pane3.Text(), u"\nonly one\r"_s) << "entries are the pieces as cut, each with a CR";
    EXPECT_EQ(pane4.Text(), u"\nonly two\r"_s);
    EXPECT_EQ(Red(pane1), (std::vector<TextRange>{{5, 10}})) << "LF, the line and its CR";
    EXPECT_EQ(Red(pane2), (std::vector<TextRange>{{9, 10}}));
    EXPECT_EQ(pane1.SelStart(), 4) << "the selection stays on the last mark, with its breaks";
    EXPECT_EQ(pane1.SelLength(), 12);
}

TEST_F(FindDifferencesTest, EmptyAndIdenticalTexts) {
    Load({}, {});
    RunBoth();
    EXPECT_EQ(pane3.Text(), QString());
    EXPECT_EQ(pane4.Text(), QString());

    Load(u"x\r\ny\r"_s, u"x\r\ny\r"_s);
    RunBoth();
    EXPECT_EQ(pane3.Text(), QString());
    EXPECT_EQ(pane4.Text(), QString());
}

TEST_F(FindDifferencesTest, AgainstAnEmptyPaneEveryPieceIsListed) {
    Load(u"x\r\ny\r"_s, {});
    RunBoth();
    EXPECT_EQ(pane3.Text(), u"x\r\ny\r\r"_s) << "x, LF y and the empty last piece";
    EXPECT_EQ(pane4.Text(), QString());
    EXPECT_EQ(Red(pane1), (std::vector<TextRange>{{0, 5}}));
}

TEST_F(FindDifferencesTest, EachOccurrenceIsMarkedAtItsOwnPlaceAndNothingElse) {
    // abc three times (twice adjacent), and xyzabc whose tail must stay black.
    Load(u"abc\r\nabc\r\nabc\r\nxyzabc\r\nkeep\r"_s, u"keep\r\nxyzabc\r"_s);
    RunBoth();
    EXPECT_EQ(pane3.Text(), u"abc\r\nabc\r\nabc\r"_s);
    EXPECT_EQ(Red(pane1), (std::vector<TextRange>{{0, 14}}));
    EXPECT_EQ(pane1.ColourAt(16), kBlack);
    EXPECT_EQ(pane4.Text(), QString());
}

TEST_F(FindDifferencesTest, CaseBlanksAndALastLineWithoutCR) {
    Load(u"Abc\r\nabc \r\nlast"_s, u"abc\r\nlast\r"_s);
    RunBoth();
    EXPECT_EQ(pane3.Text(), u"Abc\r\nabc \r"_s);
    EXPECT_EQ(pane4.Text(), u"abc\r\r"_s) << "file #1 has no empty last piece to match";
    // "last" without a CR matches "last" followed by one; a missing last line is still coloured:
    pane2.SetText(u"other\r"_s);
    ASSERT_EQ(RunFirst(), RTB::Outcome::Finished);
    EXPECT_EQ(Red(pane1), (std::vector<TextRange>{{0, 15}}));
    EXPECT_EQ(pane3.Text(), u"Abc\r\nabc \r\nlast\r"_s);
}

TEST_F(FindDifferencesTest, AddsRedWithoutClearingEarlierColour) {
    Load(u"keep\r\ngone\r"_s, u"keep\r"_s);
    pane1.ColourRanges(std::vector<TextRange>{{0, 2}}, kRed);
    RunBoth();
    EXPECT_EQ(Red(pane1), (std::vector<TextRange>{{0, 2}, {5, 6}}));
    RunBoth();
    EXPECT_EQ(pane3.Text(), u"\ngone\r"_s) << "a second run starts from empty result panes";
}

TEST_F(FindDifferencesTest, TheWindowHasTheFloorWhileBothDirectionsAreWorkedOut) {
    Load(u"one\r\ntwo\r"_s, u"two\r\nthree\r"_s);
    pane3.SetText(u"old list"_s);
    QString seen;
    pump.onPump = [&](int) { seen = pane3.Text(); };
    RTB::LineComparisonRun run(panes, pump, cancel);
    ASSERT_EQ(Finish(RTB::FindDifferencesIn1(run, box)), RTB::Outcome::Finished);
    EXPECT_EQ(pump.asides, 1) << "the texts are read, cut and looked up once, aside";
    EXPECT_EQ(seen, u"old list"_s) << "nothing is shown before the first direction's turn";
    ASSERT_EQ(Finish(RTB::FindDifferencesIn2(run, box)), RTB::Outcome::Finished);
    EXPECT_EQ(pump.asides, 2)
        << "the second direction was worked out with the first; then the notes on the lines";
    EXPECT_EQ(pane3.Text(), u"one\r"_s);
    EXPECT_EQ(pane4.Text(), u"\nthree\r"_s);
}

TEST_F(FindDifferencesTest, ANewTextInEitherFullPaneStopsTheRun) {
    for (Pane* replaced : {&pane1, &pane2}) {
        Load(u"a\r\nb\r"_s, u"other\r"_s);
        pane3.SetText(u"old list"_s);
        pump.onPump = [&](int) { replaced->SetText(u"new text\r"_s); };
        RTB::LineComparisonRun run(panes, pump, cancel);
        EXPECT_EQ(Finish(RTB::FindDifferencesIn1(run, box)), RTB::Outcome::Interrupted);
        EXPECT_EQ(pane3.Text(), u"old list"_s) << "nothing is shown for texts replaced meanwhile";
        EXPECT_TRUE(Red(pane1).empty());
        EXPECT_EQ(Finish(RTB::FindDifferencesIn2(run, box)), RTB::Outcome::Interrupted);
        EXPECT_TRUE(box.shown.empty());
    }
}

TEST_F(FindDifferencesTest, CancelledBeforeAnythingWasFoundShowsEmptyLists) {
    Load(u"a\r\nb\r"_s, u"c\r"_s);
    pane3.SetText(u"old list"_s);
    pump.onPump = [&](int) { cancel = true; };
    RTB::LineComparisonRun run(panes, pump, cancel);
    EXPECT_EQ(Finish(RTB::FindDifferencesIn1(run, box)), RTB::Outcome::Cancelled);
    EXPECT_EQ(pane3.Text(), QString()) << "what was found so far: nothing";
    EXPECT_EQ(Finish(RTB::FindDifferencesIn2(run, box)), RTB::Outcome::Cancelled);
    EXPECT_TRUE(Red(pane1).empty());
}

TEST_F(FindDifferencesTest, SecondDirectionWorksOnTheOtherPanes) {
    Load(u"one\r"_s, u"two\r"_s);
    RTB::LineComparisonRun run(panes, pump, cancel);
    ASSERT_EQ(Finish(RTB::FindDifferencesIn2(run, box)), RTB::Outcome::Finished);
    EXPECT_EQ(pane4.Text(), u"two\r"_s);
    EXPECT_EQ(pane3.Text(), QString());
    EXPECT_EQ(Red(pane2), (std::vector<TextRange>{{0, 4}}));
    EXPECT_TRUE(Red(pane1).empty());
}

TEST_F(FindDifferencesTest, EachFullPaneTellsHowManyOfItsLinesTheOtherLacks) {
    Load(u"same\r\none\r\ntwo\r"_s, u"same\r\nthree\r"_s);
    RunBoth();
    EXPECT_EQ(pane1.Summary(), u"2 lines of this text are nowhere in Text File #2"_s);
    EXPECT_EQ(pane2.Summary(), u"1 line of this text is nowhere in Text File #1"_s);
    pane1.AppendText(u"x"_s);
    EXPECT_EQ(pane1.Summary(), QString()) << "a changed text is no longer what was compared";
}

// The membership rule does not tell a line that stands three times here and once there from one
// that stands once in each: its tooltip does.
TEST_F(FindDifferencesTest, ALineThatRepeatsSaysHowOftenItStandsInEachText) {
    Load(u"a\r\nb\r\na\r\na\r\nc\r\nc\r"_s, u"a\r\nb\r\nb\r"_s);
    RunBoth();
    EXPECT_EQ(pane1.TipAt(0), u"3 times here, once in Text File #2"_s);
    EXPECT_EQ(pane1.TipAt(7), u"3 times here, once in Text File #2"_s) << "the third a";
    EXPECT_EQ(pane1.TipAt(3), u"once here, twice in Text File #2"_s) << "b";
    EXPECT_EQ(pane1.TipAt(13), u"twice here, nowhere in Text File #2"_s) << "c, a red line";
    EXPECT_EQ(pane2.TipAt(0), u"once here, 3 times in Text File #1"_s);
    pane1.AppendText(u"x"_s);
    EXPECT_EQ(pane1.TipAt(0), QString()) << "a changed text is no longer what was compared";
}

TEST_F(FindDifferencesTest, ARedLineThatLooksLikeALineOfTheOtherSaysWhatSetsItApart) {
    Load(u"same\r\nabc \r\nreal\r"_s, u"Abc\r\nsame\r\nother\r"_s);
    RunBoth();
    EXPECT_EQ(pane1.Summary(),
              u"2 lines of this text are nowhere in Text File #2, 1 of them a look-alike"_s);
    const QString tip = u"only by: trailing space (U+0020 at the end), letter case"_s;
    EXPECT_EQ(pane1.TipAt(7), u"Differs from line 1 of Text File #2 "_s + tip)
        << pane1.TipAt(7).toStdString();
    EXPECT_EQ(pane1.TipAt(13), QString()) << "a real change has no look-alike";
    EXPECT_EQ(pane2.TipAt(1), u"Differs from line 2 of Text File #1 "_s + tip)
        << pane2.TipAt(1).toStdString();
    pane2.AppendText(u"x"_s);
    EXPECT_EQ(pane1.TipAt(7), QString()) << "the other text is no longer the one compared";
    EXPECT_EQ(pane2.TipAt(1), QString()) << "nor its own";
    RunBoth();
    pane1.ColourRanges(std::vector<TextRange>{{0, pane1.Length()}}, kBlack);
    EXPECT_EQ(pane1.TipAt(7), QString()) << "nothing is red any more";
}

// The notes on the lines are worked out after the comparison is shown; when that fails, the
// summary says they are missing instead of waiting for them for ever.
TEST_F(FindDifferencesTest, NotesThatFailAreSaidToBeMissing) {
    Load(u"same\r\nabc \r\nreal\r"_s, u"Abc\r\nsame\r\nother\r"_s);
    pump.onPump = [&](int) {
        if (pump.asides == 2)
            throw std::bad_alloc();
    };
    RunBoth();
    EXPECT_EQ(pane1.Summary(), u"2 lines of this text are nowhere in Text File #2 (too many to "
                               u"look for look-alikes)"_s);
    EXPECT_EQ(pane1.TipAt(7), QString());
    EXPECT_EQ(Red(pane1), (std::vector<TextRange>{{5, 12}})) << "the lines are found";
}

TEST_F(FindDifferencesTest, WithoutRoomForTheLookalikesTheSummarySaysSoAndNoTipIsGiven) {
    const MemoryBound::ScopedFixedBytes noRoom(-(qint64{1} << 30));
    Load(u"same\r\nabc \r\nreal\r"_s, u"Abc\r\nsame\r\nother\r"_s);
    RunBoth();
    EXPECT_EQ(pane1.Summary(), u"2 lines of this text are nowhere in Text File #2 (too many to "
                               u"look for look-alikes)"_s);
    EXPECT_EQ(pane1.TipAt(7), QString());
    EXPECT_EQ(Red(pane1), (std::vector<TextRange>{{5, 12}})) << "the lines are found";
}

// The rules' work grows with the lines missing as they stand: texts of many lines that differ in
// a few are compared under the rules even where the room would not hold the rules' work for every
// line; only where it would not hold it for the lines that are missing are they left out, and the
// summary says so.
TEST_F(FindDifferencesTest, RulesApplyWhereTheirWorkForTheMissingLinesFits) {
    QString one, two;
    for (int i = 0; i < 2000; ++i) {
        one += u"line %1\r\n"_s.arg(i);
        two += (i == 700 ? u"LINE %1\r\n"_s : u"line %1\r\n"_s).arg(i);
    }
    Load(one, two);
    const compare::ComparisonRules caseRule(
        compare::RuleChoice{compare::LookalikeKind::Case, std::nullopt, {}});
    const qint64 pieces = 2 * 2001;
    const qint64 tables =
        static_cast<qint64>(compare::OneTableMembership::kIndexBytesPerPiece) * (pieces + 2);
    const auto withRoom = [&](qint64 beyondTables) {
        const MemoryBound::ScopedFixedBytes none(0);
        const qint64 base = MemoryBound::Room(pane1, pane2, {&pane3, &pane4});
        // The program's own share comes out of the fixed part first.
        const qint64 fixed = MemoryBound::kProgramBytes + pieces + tables + beyondTables - base;
        ASSERT_GE(fixed, MemoryBound::kProgramBytes);
        const MemoryBound::ScopedFixedBytes room(fixed);
        RTB::LineComparisonRun run(panes, pump, cancel, caseRule);
        EXPECT_EQ(Finish(RTB::FindDifferencesIn1(run, box)), RTB::Outcome::Finished);
        EXPECT_EQ(Finish(RTB::FindDifferencesIn2(run, box)), RTB::Outcome::Finished);
    };
    const qsizetype changed = one.indexOf(u"line 700\r"_s);

    withRoom(50'000); // room for the rules' work on a few hundred lines, not on 4002
    EXPECT_TRUE(Red(pane1).empty()) << "line 700 matches LINE 700 by case";
    EXPECT_EQ(pane1.ColourAt(changed), kRuleMatched);
    EXPECT_FALSE(pane1.Summary().contains(u"no room"_s)) << pane1.Summary().toStdString();

    withRoom(0);
    EXPECT_EQ(Red(pane1), (std::vector<TextRange>{{changed - 1, 10}})) << "compared plainly";
    EXPECT_TRUE(pane1.Summary().endsWith(u" (no room to apply the comparison rules)"_s))
        << pane1.Summary().toStdString();
}

// The line comparison as the window runs it, on random texts full of repeats, empty lines and lone
// CRs and LFs, against its rules written plainly: the list, the red marks and the selection; with
// room for a table of each text, and with room for only one.
TEST_F(FindDifferencesTest, TheWindowsLineComparisonFollowsThePlainRules) {
    std::mt19937 random(5);
    const std::u16string_view alphabet = u"ab \r\n";
    for (int round = 0; round < 600; ++round) {
        std::optional<MemoryBound::ScopedFixedBytes> littleRoom;
        if (round % 2 == 1)
            littleRoom.emplace(-(qint64{1} << 30));
        std::u16string texts[2];
        for (std::u16string& text : texts)
            for (int i = static_cast<int>(random() % 40); i > 0; --i)
                text.push_back(alphabet[random() % alphabet.size()]);
        Load(QString::fromStdU16String(texts[0]), QString::fromStdU16String(texts[1]));
        RunBoth();
        const Pane* shown[][2] = {{&pane1, &pane3}, {&pane2, &pane4}};
        for (int file = 0; file < 2; ++file) {
            const std::u16string_view own = texts[file];
            const std::vector<std::size_t> missing = plain::MissingPieces(own, texts[1 - file]);
            QString list;
            std::vector<TextRange> red;
            std::size_t start = 0;
            for (const std::u16string_view piece : plain::Pieces(own)) {
                if (std::find(missing.begin(), missing.end(), start) != missing.end()) {
                    list += QString::fromStdU16String(std::u16string(piece)) + u"\r"_s;
                    const compare::Piece marked = compare::MarkedSpan(own, {start, piece.size()});
                    const TextRange range{static_cast<qsizetype>(marked.start),
                                          static_cast<qsizetype>(marked.length)};
                    if (!red.empty() && red.back().End() == range.start)
                        red.back().length += range.length;
                    else if (range.length > 0)
                        red.push_back(range);
                }
                start += piece.size() + 1;
            }
            ASSERT_EQ(shown[file][1]->Text(), list) << "round " << round << ", file " << file + 1;
            ASSERT_EQ(Red(*shown[file][0]), red) << "round " << round << ", file " << file + 1;
        }
    }
}
