#pragma once

#include "compare/LookalikeLines.h"
#include "platform/Pane.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class ResultList;

namespace RTB {

// The red lines of one side that look like a line of the other text, in twelve bytes each: which
// entry of the side's list, and where that line stands in the other text. What sets the two apart
// is worked out again when a tooltip asks, so that millions of look-alikes cost no strings.
struct LineLookalikeNote {
    std::uint32_t entry;      // in the side's list of red lines
    std::uint32_t otherStart; // the look-alike's piece in the other text (leading LF included)
    std::uint32_t otherLine;  // its line number there, from 1
};
using LineLookalikeNotes = std::vector<LineLookalikeNote>;

// The notes of the found look-alikes, in list order; `found` has one place a red line.
LineLookalikeNotes
NoteLineLookalikes(const std::vector<std::optional<compare::LineLookalike>>& found);

// What it takes, at most, to look for the look-alikes of red lines of these many units in all.
qint64 LineLookalikeSearchBytes(qint64 redLines, qint64 redUnits);

// The tooltip of a red line that looks like a line of `other`: worked out when asked, from the two
// texts, while the other text is still the one compared.
Pane::TipSource LineLookalikeTips(const Pane& other, std::shared_ptr<const ResultList> list,
                                  std::shared_ptr<const LineLookalikeNotes> notes,
                                  const QString& otherName);

} // namespace RTB
