#pragma once

#include "cli/CliOptions.h"
#include "cli/ReportSinks.h"

#include <functional>

// A pass that hands one file's differences, in order, to a sink. It can be run again, and gives
// the same each time.
using Pass = std::function<void(EntrySink&)>;

// One file's part of the report: for people a header and a line per difference, for programs the
// JSON object's result text and marks. A pass runs before the report gets to this side when its
// work is needed early (or to count the differences the header names); what it gives is kept as
// long as the room lasts, and the pass runs again for the rest.
class SideReport {
public:
    SideReport(const CliOptions& options, int file, KeptRoom& room);

    // Runs the pass now and keeps what it gives.
    void Keep(const Pass& pass);
    // Writes this side of the report.
    void Write(const Pass& pass, ByteSink& out);
    bool HasEntries() const { return count_ > 0; }
    // The report tells no look-alikes, though --explain asked for them.
    void WithoutLookalikes() { explain_ = false; }
    // The readable report's line before the entries of file `file` (1 or 2), which has `count`.
    static QByteArray HeaderOf(const CliOptions& options, int file, qint64 count);

private:
    ListSink::Style Style() const;
    char Prefix() const { return file_ == 1 ? '<' : '>'; }
    QByteArray Header() const;
    QByteArray OtherName() const;
    // Runs the pass into `list`, which writes to `listOut`, and for JSON when `keepMarks` into
    // the kept marks and look-alikes too.
    void Run(const Pass& pass, ListSink& list, ByteSink& listOut, bool keepMarks);

    const CliOptions& options_;
    int file_;
    bool explain_;
    bool kept_ = false;
    qint64 count_ = 0;
    KeptBytes list_;
    KeptBytes marks_;
    KeptBytes lookalikes_;
};
