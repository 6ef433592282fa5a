#pragma once

#include "app/WindowCommandLine.h"

class Form1;

// Does what the command line asked of the shown window: FILE1 and FILE2 load into their sides as
// the load buttons load them, then the chosen comparison runs as its button does.
void OpenFromCommandLine(Form1& window, const WindowCommandLine& commandLine);
