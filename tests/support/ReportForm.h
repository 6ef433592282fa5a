#pragma once

#include "cli/CliOptions.h"

// One form of the tool's report, as the tests that hold one comparison against another go
// through them: readable, JSON, numbered, only counted, quiet, with the counted lines, with
// --explain.
struct ReportForm {
    const char* name;
    bool json = false;
    bool lineNumbers = false;
    bool count = false;
    bool quiet = false;
    bool counts = false;
    bool explain = false;

    // Sets the options of this form, and leaves the files, the rules and the rest as they are.
    void ApplyTo(CliOptions& options) const {
        options.json = json;
        options.lineNumbers = lineNumbers;
        options.count = count;
        options.quiet = quiet;
        options.counts = counts;
        options.explain = explain;
    }
};
