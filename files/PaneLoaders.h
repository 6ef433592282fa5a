#pragma once

#include "app/Panes.h"
#include "platform/EventPump.h"
#include "platform/FileSystem.h"
#include "platform/MsgBox.h"

namespace RTB {

// Replaces the pane's whole content with the file when it exists; otherwise says "File not
// found" and leaves the pane as it is. The file is read and decoded beside the window, which
// keeps painting and answering meanwhile; should the pane be given another text before the file
// is in (another load, clearing), the file is not shown. A file that exists but cannot be read
// throws Failure, and so does a file whose text cannot be held beside `other`'s (the other full
// pane) within what the window may hold: that is weighed before the file is read.
// Gives whether the file's text is in the pane.
Task<bool> LoadFileIn(Pane& pane, QString path, const FileSystem& fileSystem, MsgBox& box,
                      EventPump& pump, const Pane& other);

inline Task<bool> LoadFileIn1(Panes& panes, QString path, const FileSystem& fs, MsgBox& box,
                              EventPump& pump) {
    return LoadFileIn(panes.RichTextBox1, std::move(path), fs, box, pump, panes.RichTextBox2);
}
inline Task<bool> LoadFileIn2(Panes& panes, QString path, const FileSystem& fs, MsgBox& box,
                              EventPump& pump) {
    return LoadFileIn(panes.RichTextBox2, std::move(path), fs, box, pump, panes.RichTextBox1);
}

} // namespace RTB
