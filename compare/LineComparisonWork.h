#pragma once

#include "compare/LineLookalikeNotes.h"
#include "compare/RepeatedLines.h"

#include <QString>

#include <array>
#include <atomic>
#include <memory>
#include <optional>

class ResultList;

namespace RTB {

// What one direction of the line comparison found: the list of the red pieces (which the full
// pane also marks red from), and the red lines that look like a line of the other text.
struct LineFindings {
    std::shared_ptr<const ResultList> list;
    std::shared_ptr<const LineLookalikeNotes> lookalikes;
    bool lookalikesSought = false; // false: there was no room to look for them
    // The lines of this text that stand more than once in either text, with their counts; none
    // when there was no room to count them.
    std::shared_ptr<const compare::RepeatedLines> repeats;
    // Set when the work was told to stop before this direction was done: how many of its lines
    // had been looked up, when that is known.
    bool stopped = false;
    std::optional<std::size_t> linesDone;
};

// Progress and stop of the work, shared with the window's thread.
struct LineWorkState {
    const std::atomic<bool>& stop;
    std::atomic<std::size_t> piecesDone = 0;
    std::atomic<std::size_t> pieceTotal = 0;
};

// Both directions of the line comparison of two texts, worked out beside the window within `room`
// bytes beside the texts (see MemoryBound). Where a table of each text fits, both are made and
// the directions worked out side by side, and the look-alikes of the red lines are looked for
// where that fits too; otherwise one table, of the text with fewer pieces, serves both directions,
// and look-alikes are not looked for. Stops early, with what it has, when told to.
std::array<LineFindings, 2> WorkOutLineComparison(const QString& one, const QString& two,
                                                  qint64 room, LineWorkState& state);

} // namespace RTB
