#pragma once

#include "cli/CliOptions.h"

#include <cstdio>
#include <optional>

// The line comparison made on the files' bytes as they are, for the common case: two ordinary
// files of valid UTF-8 (with or without a byte-order mark) compared as the window compares them,
// or with --exact, and no option that only the general comparison serves. Each file is mapped,
// cut and hashed on a thread of its own, and the report written from the mapped bytes; it is byte
// for byte the general comparison's.
//
// Files that do not fit in the memory the options allow are compared through temporary files
// (CompareLinesSpilled) where the report is one that comparison gives.
//
// Returns the exit status, or nothing, having written nothing, when the files or the options need
// the general comparison: a file that is not an ordinary file or not valid UTF-8, or one that does
// not fit with a report that only the comparison in memory gives.
std::optional<int> CompareLinesAsBytes(const CliOptions& options, std::FILE* out);

// Whether the options ask for nothing that the comparison on bytes does not do.
bool LinesAsBytesServe(const CliOptions& options);
