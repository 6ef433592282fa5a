#pragma once

#include "cli/CliOptions.h"
#include "cli/InputText.h"
#include "cli/SideReport.h"

// What holding both texts costs, in bytes: the texts, and for the line comparison their indexes.
qint64 HeldBytes(const CliOptions& options, const InputText& one, const InputText& two);

// The comparisons with both texts held, as the window runs them: each text is read once, both are
// indexed side by side, and the second file's differences are worked out on another thread while
// the first file's are written. Where the differences stand is kept in `room`, so that the report
// is written from the texts without running the comparison again, and so is as much of the second
// file's report as fits. Look-alikes (--explain) are looked for when the room can take what
// that search holds; returns false when they were asked for and could not be.
bool CompareHeld(const CliOptions& options, InputText& one, InputText& two, SideReport& first,
                 SideReport& second, ByteSink& out, KeptRoom& room);

// The same for the exit status alone: whether there is a difference, found as soon as it is
// certain (for lines, once both texts are indexed, at the first line the other lacks).
bool AnyDifferenceHeld(const CliOptions& options, InputText& one, InputText& two);
