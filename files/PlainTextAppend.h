#pragma once

#include "platform/Pane.h"

// Ends a full pane's text with one more CR, written back as plain text: all colour goes, as if
// the whole text had been written anew, but a large text is not handed to the screen again.
void AppendCarriageReturn(Pane& pane);
