#pragma once

#include "cli/CliComparison.h"

#include <QByteArray>

#include <cstdio>

// Runs the comparison as the tool does; returns what it printed, and its exit status in `status`.
inline QByteArray RunTool(const CliOptions& options, int& status) {
    std::FILE* out = std::tmpfile();
    status = RunCliComparison(options, out);
    std::rewind(out);
    QByteArray output;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, out)) > 0;)
        output.append(buffer, static_cast<qsizetype>(n));
    std::fclose(out);
    return output;
}
