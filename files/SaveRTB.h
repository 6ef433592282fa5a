#pragma once

#include "platform/FileSystem.h"
#include "platform/MsgBox.h"
#include "platform/Pane.h"

namespace RTB {

// Writes the pane's text to the path, asking first when something is there already. The text goes
// out exactly as the pane holds it, through a TextFileWriter: in the system's 8-bit encoding, with
// nothing added, and an existing file replaced in one step or not at all. Throws Failure.
void SaveRTB(const Pane& pane, const QString& path, const FileSystem& fileSystem, MsgBox& box);

// The bytes a pane's text is saved as.
QByteArray EncodeForSaving(const QString& text);

} // namespace RTB
