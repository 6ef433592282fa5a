#pragma once

#include "app/Panes.h"
#include "cli/CliOptions.h"

#include <QByteArray>

#include <cstdio>

// What the comparison found, for people: per file a header, then one entry per line. Returns
// false when the output could not be written.
bool WriteReadableReport(std::FILE* out, const CliOptions& options, const Panes& panes);

// What the comparison found, for programs: the result panes and the red runs of the full panes.
QByteArray JsonReport(const CliOptions& options, const Panes& panes);
