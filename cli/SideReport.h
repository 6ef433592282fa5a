#pragma once

#include "cli/CliOptions.h"
#include "cli/CountSinks.h"
#include "cli/ReportSinks.h"

#include <QByteArray>

#include <functional>
#include <memory>
#include <optional>

// A pass that hands one file's differences, in order, to a sink. It can be run again, and gives
// the same each time.
using Pass = std::function<void(EntrySink&)>;

// What the report calls a file and the other one (see ShownName).
struct SideNames {
    QByteArray own;
    QByteArray other;
};

// One file's part of the report: for people a header and a line per difference, for programs the
// JSON object's result text, marks and entries, or with --count how many differences there are.
// A pass runs before the report gets to this side when its work is needed early (or to count the
// differences the header names); what it gives is kept as long as the room lasts, and the pass
// runs again for the rest. With --counts the lines counted differently follow. Under rules the
// report adds what only the rules matched: for people with --explain, a section after the
// differences, and for programs always, as "matched_by_rule".
class SideReport {
public:
    SideReport(const CliOptions& options, int file, SideNames names, KeptRoom& room);

    // Runs the pass now and keeps what it gives.
    void Keep(const Pass& pass);
    // The number of differences is known before the pass runs (from where they stand): the
    // readable list then goes out as it is made rather than being kept for the header's sake.
    void CountIs(qint64 count) { knownCount_ = count; }
    // Writes this side of the report; `counted` gives its counted lines (--counts).
    void Write(const Pass& pass, ByteSink& out, const CountPass& counted = {});
    bool HasEntries() const { return count_ > 0 || counted_ > 0; }
    // The report tells no look-alikes, though --explain asked for them.
    void WithoutLookalikes() { explain_ = false; }
    // The passes run again at little cost (they replay held texts): each part of the JSON report
    // is made when its turn comes rather than kept, which would take more than making it again.
    void PassesRunAgainCheaply() { cheap_ = true; }
    // The readable report's line before the entries of a file that has `count` of them.
    static QByteArray HeaderOf(CliOptions::Mode mode, qint64 count, const SideNames& names);
    // The line before the counted lines of a file that has `count` of them (--counts).
    static QByteArray CountsHeaderOf(qint64 count, const SideNames& names);

private:
    char Prefix() const { return file_ == 1 ? '<' : '>'; }
    QByteArray Header() const;
    QByteArray CountsHeader() const;
    QByteArray MatchesHeader() const;
    // Whether the readable report has the section of what the rules matched.
    bool MatchesSection() const;
    // The readable list or the JSON result text, written to `out`.
    std::unique_ptr<EntryList> List(ByteSink& out) const;
    // Runs the pass into `list`, which writes to `listOut`, and when `keepRest` into the kept
    // marks, look-alikes, entries and matches too.
    void Run(const Pass& pass, EntryList& list, ByteSink& listOut, bool keepRest);
    void WriteReadable(const Pass& pass, ByteSink& out, const CountPass& counted);
    void WriteMatchesSection(const Pass& pass, ByteSink& out);
    void WriteJson(const Pass& pass, ByteSink& out, const CountPass& counted);
    void WriteCount(const Pass& pass, ByteSink& out, const CountPass& counted);

    const CliOptions& options_;
    int file_;
    SideNames names_;
    KeptRoom& room_;
    bool explain_;
    bool kept_ = false;     // the pass has run: the count is known
    bool restKept_ = false; // and what follows the JSON result was kept
    bool cheap_ = false;
    std::optional<qint64> knownCount_;
    qint64 count_ = 0;
    qint64 counted_ = 0;
    qint64 matchedCount_ = 0;
    KeptBytes list_;
    KeptBytes marks_;
    KeptBytes lookalikes_;
    KeptBytes entries_;
    KeptBytes matches_; // the readable section, or the JSON list
};
