#pragma once

#include "platform/Pane.h"

// Ends a full pane's text with one more CR, written back as plain text: all colour goes, as if
// the whole text had been written anew, but a large text is not handed to the screen again. A
// text that was its file's own stays so: the CR is the load's, and a save leaves it out.
void AppendCarriageReturn(Pane& pane);
