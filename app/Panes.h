#pragma once

#include "platform/Pane.h"

// The four panes of the window: a full text and a result list for each file.
struct Panes {
    Pane& RichTextBox1; // text of file #1, differences in red
    Pane& RichTextBox2; // text of file #2, differences in red
    Pane& RichTextBox3; // differences of file #1, one per line
    Pane& RichTextBox4; // differences of file #2, one per line
};
