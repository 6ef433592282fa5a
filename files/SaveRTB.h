#pragma once

#include "platform/EventPump.h"
#include "platform/FileSystem.h"
#include "platform/MsgBox.h"
#include "platform/Pane.h"

namespace RTB {

// Writes the pane's text to the path, asking first when something is there already. The text goes
// out exactly as the pane holds it, through a TextFileWriter: in the system's 8-bit encoding, with
// nothing added, and an existing file replaced in one step or not at all. It is written beside
// the window, a piece at a time (a list is never spelled out whole), from the text as it was when
// the save began; the window answers meanwhile. Throws Failure.
Task<> SaveRTB(Pane& pane, QString path, const FileSystem& fileSystem, MsgBox& box,
               EventPump& pump);

} // namespace RTB
