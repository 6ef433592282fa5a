#pragma once

#include "cli/CliOptions.h"

#include <cstdio>

// Reads the two files as the window's load buttons would, runs the comparison, prints the report
// to `out` as it is made and returns the exit status: 0 no differences, 1 differences, 2 trouble.
// Trouble is told on stderr in one line; a report that cannot be finished is not finished.
int RunCliComparison(const CliOptions& options, std::FILE* out);

// The same on the decoded texts, whatever the files hold: what the comparison of valid UTF-8
// on its bytes must agree with.
int RunGeneralComparison(const CliOptions& options, std::FILE* out);
