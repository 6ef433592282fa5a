#pragma once

#include <QtGlobal>

class PaneText;

// Where a caret may stand in a pane's text. A CR LF is one line break and a surrogate pair one
// character to the user, so neither end of a selection ever stands between their two units: a
// key pressed there would take half of the pair away and leave a lone CR or a broken character.

// Whether `position` falls between the two units of a CR LF or of a surrogate pair.
bool SplitsPair(const PaneText& text, qsizetype position);

// `position`, or, when it splits a pair, that pair's end (`forward`) or its start.
qsizetype OutOfPair(const PaneText& text, qsizetype position, bool forward);
