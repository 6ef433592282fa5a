#include "platform/ColourRuns.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// The colour of every unit, spelled out, for comparing against a simple model.
std::vector<Colour> Expand(const ColourRuns& runs) {
    std::vector<Colour> units;
    for (qsizetype i = 0; i < runs.Length(); ++i)
        units.push_back(runs.At(i));
    return units;
}

} // namespace

TEST(ColourRunsTest, PaintsExactlyTheRangesAndMergesNeighbours) {
    ColourRuns runs;
    runs.Reset(10);
    const std::vector<TextRange> ranges{{1, 2}, {3, 1}, {7, 5}};
    runs.Paint(ranges, kRed);
    EXPECT_EQ(runs.RangesOf(kRed), (std::vector<TextRange>{{1, 3}, {7, 3}}));
    EXPECT_EQ(runs.RangesOf(kBlack), (std::vector<TextRange>{{0, 1}, {4, 3}}));
    runs.Paint(TextRange{0, 10}, kBlack);
    EXPECT_TRUE(runs.RangesOf(kRed).empty());
    EXPECT_EQ(runs.RangesOf(kBlack), (std::vector<TextRange>{{0, 10}}));
}

TEST(ColourRunsTest, EmptyRangesAndEmptyTextsColourNothing) {
    ColourRuns runs;
    runs.Paint(TextRange{0, 3}, kRed);
    EXPECT_EQ(runs.Length(), 0);
    runs.Reset(4);
    runs.Paint(TextRange{2, 0}, kRed);
    EXPECT_TRUE(runs.RangesOf(kRed).empty());
}

TEST(ColourRunsTest, ExtendAddsBlackAfterColour) {
    ColourRuns runs;
    runs.Reset(2);
    runs.Paint(TextRange{0, 2}, kRed);
    runs.Extend(3);
    EXPECT_EQ(runs.RangesOf(kRed), (std::vector<TextRange>{{0, 2}}));
    EXPECT_EQ(runs.At(4), kBlack);
}

TEST(ColourRunsTest, ReplaceGivesInsertedUnitsThePrecedingColour) {
    ColourRuns runs;
    runs.Reset(6);
    runs.Paint(TextRange{2, 2}, kRed); // ..RR..
    runs.Replace(3, 0, 2);             // ..RRRR..  (inside red)
    EXPECT_EQ(runs.RangesOf(kRed), (std::vector<TextRange>{{2, 4}}));
    runs.Replace(2, 4, 1); // ..R..  (red replaced by one unit that follows black? no: precedes)
    EXPECT_EQ(runs.Length(), 5);
    EXPECT_EQ(runs.RangesOf(kRed), std::vector<TextRange>{});
    runs.Paint(TextRange{0, 1}, kRed);
    runs.Replace(0, 0, 2); // at the start the new units take the colour that follows
    EXPECT_EQ(runs.RangesOf(kRed), (std::vector<TextRange>{{0, 3}}));
}

// Random paints and edits against a unit-by-unit model.
TEST(ColourRunsTest, AgreesWithAUnitByUnitModel) {
    std::mt19937 random(7);
    ColourRuns runs;
    std::vector<Colour> model(50, kBlack);
    runs.Reset(50);
    for (int round = 0; round < 2000; ++round) {
        const auto length = static_cast<qsizetype>(model.size());
        const auto pick = [&](qsizetype n) {
            return static_cast<qsizetype>(random() % static_cast<unsigned>(n + 1));
        };
        if (round % 3 == 0) {
            const qsizetype pos = pick(length);
            const qsizetype removed = pick(std::min<qsizetype>(length - pos, 5));
            const qsizetype inserted = pick(5);
            const Colour fill = pos > 0                  ? model[pos - 1]
                                : pos + removed < length ? model[pos + removed]
                                                         : kBlack;
            model.erase(model.begin() + pos, model.begin() + pos + removed);
            model.insert(model.begin() + pos, inserted, fill);
            runs.Replace(pos, removed, inserted);
        } else {
            std::vector<TextRange> ranges;
            const Colour colour = round % 2 ? kRed : kBlack;
            for (qsizetype at = pick(4); at < length; at += pick(6) + 1) {
                ranges.push_back({at, pick(4)});
                at = ranges.back().End();
            }
            for (const TextRange& r : ranges)
                for (qsizetype i = r.start; i < std::min(r.End(), length); ++i)
                    model[i] = colour;
            runs.Paint(ranges, colour);
        }
        if (model.empty()) {
            model.assign(10, kBlack);
            runs.Reset(10);
        }
        ASSERT_EQ(Expand(runs), model) << "round " << round;
    }
}
