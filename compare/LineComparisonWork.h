#pragma once

#include "compare/ComparisonRules.h"
#include "compare/LineIndex.h"
#include "compare/LineLookalikeNotes.h"
#include "compare/RepeatedLines.h"
#include "compare/RuleMatch.h"

#include <QString>

#include <array>
#include <atomic>
#include <functional>
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
    // Under rules, the lines the other text lacks as they stand but that are no difference only
    // because of a rule, in text order; none without rules.
    std::shared_ptr<const std::vector<compare::RuleMatch>> matched;
    // Rules were asked for but there was no room to apply them: the lines are compared plainly.
    bool rulesLeftOut = false;
};

// What the notes on the lines (their look-alikes, their repeats) are worked out from, once the
// comparison is shown: the tables of both texts, with the texts they refer into (copies that
// share the panes' storage, which keep it while the panes take new texts).
struct LineTables {
    LineTables(QString one, QString two, compare::LineIndex ofOne, compare::LineIndex ofTwo);

    QString texts[2];
    compare::LineIndex first, second;
    bool lookalikesFit = false; // there is room to look for the red lines' look-alikes
    bool repeatsFit = false;    // and to count the repeated lines
};

struct LineComparison {
    std::array<LineFindings, 2> found;
    // Null when there is no room for a table of each text, or the work was stopped.
    std::shared_ptr<const LineTables> tables;
};

// Progress and stop of the work, shared with the window's thread.
struct LineWorkState {
    const std::atomic<bool>& stop;
    std::atomic<std::size_t> piecesDone = 0;
    std::atomic<std::size_t> pieceTotal = 0;
};

// Both directions of the line comparison of two texts, worked out beside the window within `room`
// bytes beside the texts (see MemoryBound). Where a table of each text fits, both are made and
// the directions worked out side by side, and the tables are handed on for the notes on the lines;
// otherwise one table, of the text with fewer pieces, serves both directions, and there are no
// notes. Stops early, with what it has, when told to. Under `rules` (with two tables only) the
// lines each text lacks as they stand are sorted into red ones and those a rule matched.
LineComparison WorkOutLineComparison(const QString& one, const QString& two, qint64 room,
                                     LineWorkState& state,
                                     const compare::ComparisonRules& rules = {});

// The notes on the lines of a comparison, where they fit: for each red line, a line of the other
// text it differs from only invisibly, if there is one, and the lines that stand more than once.
// Left out from the point where `keepGoing` says no.
void WorkOutLineNotes(std::array<LineFindings, 2>& found, const LineTables& tables,
                      const std::function<bool()>& keepGoing);

} // namespace RTB
