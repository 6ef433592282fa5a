#pragma once

#include "platform/InputFile.h"

#include <memory>

// The process's standard input as one of the files. An ordinary file given there is read from
// where the input stands, as often as needed; a pipe or a terminal is read once, like a stream.
// Throws Failure when it is closed or cannot be read.
std::unique_ptr<InputFile> OpenStandardInput();
