#pragma once

#include "app/Panes.h"
#include "platform/EventPump.h"
#include "platform/FileSystem.h"
#include "platform/MsgBox.h"

namespace RTB {

// Replaces the pane's whole content with the file when it exists; otherwise says "File not
// found" and leaves the pane as it is. The file is read and decoded beside the window, which
// keeps painting meanwhile. A file that exists but cannot be read throws Failure, and so does a
// file whose text cannot be held beside `other`'s (the other full pane) within what the window
// may hold: that is weighed before the file is read, and the pane is left as it is.
void LoadFileIn(Pane& pane, const QString& path, const FileSystem& fileSystem, MsgBox& box,
                EventPump& pump, const Pane& other);

inline void LoadFileIn1(Panes& panes, const QString& path, const FileSystem& fs, MsgBox& box,
                        EventPump& pump) {
    LoadFileIn(panes.RichTextBox1, path, fs, box, pump, panes.RichTextBox2);
}
inline void LoadFileIn2(Panes& panes, const QString& path, const FileSystem& fs, MsgBox& box,
                        EventPump& pump) {
    LoadFileIn(panes.RichTextBox2, path, fs, box, pump, panes.RichTextBox1);
}

} // namespace RTB
