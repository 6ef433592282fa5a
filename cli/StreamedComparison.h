#pragma once

#include "cli/CliOptions.h"
#include "cli/InputText.h"
#include "cli/SideReport.h"

// The comparisons for files too large to hold: each is read again for every pass, and the line
// comparison holds the distinct lines of the smaller file only.
void CompareStreamed(const CliOptions& options, InputText& one, InputText& two, SideReport& first,
                     SideReport& second, ByteSink& out);

// The same for the exit status alone: whether there is a difference, found as soon as it is
// certain.
bool AnyDifferenceStreamed(const CliOptions& options, InputText& one, InputText& two);
