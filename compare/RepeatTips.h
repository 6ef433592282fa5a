#pragma once

#include "compare/RepeatedLines.h"
#include "platform/Pane.h"

#include <memory>

// The tooltip of a line that stands more than once in either text, "3 times here, once in Text
// File #2", after whatever `tips` says of the place; worked out when asked, from the pane's text
// as it was compared (a pane drops its tips when its text changes).
Pane::TipSource WithRepeatTips(Pane::TipSource tips, const Pane& own,
                               std::shared_ptr<const compare::RepeatedLines> repeats,
                               const QString& otherName);

// "3 times here, once in Text File #2", "twice here, nowhere in Text File #1".
QString RepeatNote(compare::RepeatedLines::Counts counts, const QString& otherName);
