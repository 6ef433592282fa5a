#pragma once

#include "cli/CliOptions.h"

#include <cstdio>

// Loads the two files into panes as the window's load buttons would, runs the comparison, prints
// the report to `out` and returns the exit status: 0 no differences, 1 differences, 2 trouble.
int RunCliComparison(const CliOptions& options, std::FILE* out);
