#pragma once

#include "platform/TextRange.h"

#include <cstdint>
#include <functional>

// Which mark of which comparison a red unit belongs to. The parts of a mark that an edit or a
// colour cut in two keep it, so that they make one stretch again once what stood between them
// goes, and the units an edit adds inside a mark take it too.
using MarkId = std::uint64_t;

// Red marks in the order of the text, none overlapping, each with its identity: a list of
// differences as the pane marks it, or such marks packed again after many edits. Where each mark
// stands is the place it had when the source was made; a pane adds what edits since have moved.
class MarkSource {
public:
    virtual ~MarkSource() = default;

    virtual qsizetype Count() const = 0;
    // What mark `i` covers; it may be empty, and then it marks nothing.
    virtual TextRange Mark(qsizetype i) const = 0;
    virtual MarkId Id(qsizetype i) const = 0;
    // The first mark that ends after `position`.
    virtual qsizetype FirstEndingAfter(qsizetype position) const = 0;
    // The first mark that begins at or after `position`.
    virtual qsizetype FirstStartingFrom(qsizetype position) const = 0;
    // Calls visit(mark, id) for marks [first, last), in order, in one walk however many they are.
    virtual void ForEach(qsizetype first, qsizetype last,
                         const std::function<void(TextRange, MarkId)>& visit) const = 0;
    // What it holds of its own, in bytes: not a list that a pane shows as well.
    virtual qint64 MemoryBytes() const = 0;
};
