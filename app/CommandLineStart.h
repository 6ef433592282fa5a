#pragma once

#include "app/WindowCommandLine.h"
#include "platform/Task.h"

class Form1;

// Does what the command line asked of the shown window: FILE1 and FILE2 load into their sides as
// the load buttons load them, one after the other, then the chosen comparison runs as its button
// does.
Task<> OpenFromCommandLine(Form1& window, WindowCommandLine commandLine);
