#pragma once

#include "files/SavedPane.h"
#include "platform/EventPump.h"
#include "platform/FileSystem.h"
#include "platform/MsgBox.h"
#include "platform/Pane.h"

namespace RTB {

// Writes the pane to the path as `format` (see SavedPane), asking first when something is there
// already. An existing file is replaced in one step or not at all (see TextFileWriter). It is
// written beside the window, a piece at a time (a list is never spelled out whole), from the text
// as it was when the save began; the window answers meanwhile. Throws Failure.
Task<> SaveRTB(Pane& pane, QString path, const FileSystem& fileSystem, MsgBox& box, EventPump& pump,
               SaveFormat format = SaveFormat::Text);

} // namespace RTB
