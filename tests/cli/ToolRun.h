#pragma once

#include "PrintedRun.h"

#include "cli/CliComparison.h"

#include <QByteArray>

#include <cstdio>

// Runs the comparison as the tool does; returns what it printed, and its exit status in `status`.
inline QByteArray RunTool(const CliOptions& options, int& status) {
    return Printed([&](std::FILE* out) { return RunCliComparison(options, out); }, status);
}
