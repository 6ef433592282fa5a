#pragma once

#include "cli/CliOptions.h"
#include "cli/InputText.h"
#include "cli/SideReport.h"

// The comparisons with each difference's look-alike in the other file, where it has one. Both
// texts are held: a red line's look-alike may be any line of the other text, and a red word's
// is looked for in its partner line. The second file's report is made on another thread, as far
// as the room lasts, while the first file's is written.
void CompareExplained(const CliOptions& options, InputText& one, InputText& two, SideReport& first,
                      SideReport& second, ByteSink& out);
