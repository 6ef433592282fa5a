#pragma once

#include "cli/SideReport.h"

// Thrown to end a pass at the first difference, when that is all that is asked.
struct Answered {};

// Whether the pass gives any entry; it is stopped at the first. What only the rules matched is
// no entry.
bool AnyEntry(const Pass& pass);
