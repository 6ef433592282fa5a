#pragma once

#include "platform/MarkSource.h"

#include <cstdint>
#include <vector>

// Marks packed as they follow one another: for each, the gap since the last one ended, its length
// and how its identity differs from the next after the last one's, each in as few bytes as it
// needs (a red word a blank after the last: one byte, where colour runs would take sixteen; a red
// line: three). Every kMarksPerBlock-th
// mark notes where its block begins, so that any mark is found by a search of those notes and a
// short read.
class PackedMarks final : public MarkSource {
public:
    class Builder;

    qsizetype Count() const override { return count_; }
    TextRange Mark(qsizetype i) const override;
    MarkId Id(qsizetype i) const override;
    qsizetype FirstEndingAfter(qsizetype position) const override;
    qsizetype FirstStartingFrom(qsizetype position) const override;
    void ForEach(qsizetype first, qsizetype last,
                 const std::function<void(TextRange, MarkId)>& visit) const override;
    qint64 MemoryBytes() const override;

private:
    static constexpr qsizetype kMarksPerBlock = 64;
    // Where the mark before a block ended and its identity, and where the block's bytes begin.
    struct Block {
        qsizetype end;
        MarkId id;
        std::size_t offset;
    };
    // Reads the marks one after the other from the start of a block on.
    class Reader;

    Reader ReaderAt(qsizetype i) const;
    // The block in which the first mark that ends after `position` lies.
    qsizetype BlockEndingAfter(qsizetype position) const;
    template <typename Reached> qsizetype FirstFrom(qsizetype position, Reached reached) const;

    std::vector<std::uint8_t> bytes_;
    std::vector<Block> blocks_;
    qsizetype count_ = 0;
};

// Takes marks in order, none empty, none overlapping the one before. Told how many are coming,
// it takes the room for them at once, rather than room twice their size as it grows.
class PackedMarks::Builder {
public:
    explicit Builder(qsizetype expected = 0);
    void Add(TextRange mark, MarkId id);
    PackedMarks Finish() &&;

private:
    PackedMarks marks_;
    qsizetype end_ = 0;
    MarkId id_ = 0;
};
