#pragma once

#include "platform/Task.h"

class QDialog;

// Shows the dialog modal to the whole program and resumes the caller, on the window's thread,
// once it is closed, with its result code. The window's event loop handles the dialog meanwhile:
// none is started for it.
Task<int> ShowModal(QDialog& dialog);
