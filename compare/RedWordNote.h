#pragma once

#include "compare/RedWordReason.h"

#include <QString>

// What the tooltip of a red word says of why the word comparison left it red, in the walk's own
// terms: "Line 12 of Text File #2 has no `report`", "... has `the` at word 5, but the walk had
// already passed it: the `the` before it used up words 2–5", "... has `x` at word 9, beyond the 4
// words the walk looks at from word 3 (the look-ahead of this line)".
QString RedWordNote(const compare::RedWordReason& reason, const QString& otherPane);
