#pragma once

#include "StepFigures.h"

#include <vector>

// Prints the figures of a run, as a table or as one JSON object, and flushes them out.
void PrintReport(const RunInfo& info, const std::vector<StepFigures>& steps, bool json);
