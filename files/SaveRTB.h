#pragma once

#include "platform/FileSystem.h"
#include "platform/MsgBox.h"
#include "platform/Pane.h"

namespace RTB {

// Writes the pane's text to the path, asking first when something is there already. The text goes
// out exactly as the pane holds it, in the system's 8-bit encoding (what it cannot hold becomes
// its replacement character), with nothing added. An existing file is replaced in one step: if
// writing fails it stays exactly as it was, and no half-written file is left. Throws Failure.
void SaveRTB(const Pane& pane, const QString& path, const FileSystem& fileSystem, MsgBox& box);

// The bytes a pane's text is saved as.
QByteArray EncodeForSaving(const QString& text);

} // namespace RTB
