// Packed marks read back as the plain list they were made from, whichever way each was packed (a
// word in one byte, or gap, length and identity apart), in blocks of any size, and found from any
// position.
#include "platform/PackedMarks.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Plain {
    TextRange range;
    MarkId id;
};

// Marks that take every form: short words one after the other, gaps of 0 to 300 units, lengths of
// 1 to 200 units, identities that skip on or go back.
std::vector<Plain> MixedMarks(int count) {
    std::vector<Plain> marks;
    qsizetype end = 5;
    MarkId id = 1000;
    for (int i = 0; i < count; ++i) {
        const qsizetype gap = i % 11 == 0 ? 127 + i % 200 : i % 9;
        const qsizetype length = i % 13 == 0 ? 17 + i % 180 : 1 + i % 16;
        id = i % 17 == 0 ? id - 40 : i % 7 == 0 ? id + 300 : id + 1;
        marks.push_back({{end + gap, length}, id});
        end += gap + length;
    }
    return marks;
}

PackedMarks Pack(const std::vector<Plain>& marks) {
    PackedMarks::Builder builder(static_cast<qsizetype>(marks.size() / 2));
    for (const Plain& mark : marks)
        builder.Add(mark.range, mark.id);
    return std::move(builder).Finish();
}

} // namespace

TEST(PackedMarksTest, ReadBackAsTheMarksTheyWereMadeFrom) {
    for (const int count : {1, 63, 64, 65, 1000}) {
        SCOPED_TRACE(count);
        const std::vector<Plain> marks = MixedMarks(count);
        const PackedMarks packed = Pack(marks);
        ASSERT_EQ(packed.Count(), count);
        for (qsizetype i = 0; i < count; ++i) {
            EXPECT_EQ(packed.Mark(i), marks[static_cast<std::size_t>(i)].range) << i;
            EXPECT_EQ(packed.Id(i), marks[static_cast<std::size_t>(i)].id) << i;
        }
        const qsizetype from = count / 3;
        qsizetype i = from;
        packed.ForEach(from, count, [&](TextRange range, MarkId id) {
            EXPECT_EQ(range, marks[static_cast<std::size_t>(i)].range) << i;
            EXPECT_EQ(id, marks[static_cast<std::size_t>(i)].id) << i;
            ++i;
        });
        EXPECT_EQ(i, count);
    }
}

// Every position from before the first mark to after the last, held against a search of the list.
TEST(PackedMarksTest, FindsTheMarksOfAnyPosition) {
    const std::vector<Plain> marks = MixedMarks(300);
    const PackedMarks packed = Pack(marks);
    const qsizetype last = marks.back().range.End();
    for (qsizetype position = 0; position <= last + 2; ++position) {
        qsizetype endingAfter = 0, startingFrom = 0;
        while (endingAfter < 300 &&
               marks[static_cast<std::size_t>(endingAfter)].range.End() <= position)
            ++endingAfter;
        while (startingFrom < 300 &&
               marks[static_cast<std::size_t>(startingFrom)].range.start < position)
            ++startingFrom;
        ASSERT_EQ(packed.FirstEndingAfter(position), endingAfter) << position;
        ASSERT_EQ(packed.FirstStartingFrom(position), startingFrom) << position;
    }
}

// Words a blank apart, one after the other: a byte each, and a note of each block of them.
TEST(PackedMarksTest, AWordAfterTheLastTakesAByte) {
    PackedMarks::Builder builder(100'000);
    for (qsizetype i = 0; i < 100'000; ++i)
        builder.Add({6 * i, 5}, static_cast<MarkId>(i + 1));
    const PackedMarks packed = std::move(builder).Finish();
    EXPECT_LT(packed.MemoryBytes(), 100'000 + 100'000 / 64 * 32);
    EXPECT_EQ(packed.Mark(99'999), (TextRange{6 * 99'999, 5}));
}
