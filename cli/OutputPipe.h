#pragma once

#include <cstdio>

// Gives the pipe behind `out`, if it is one, a larger buffer. A pipe holds 64 KiB by default, so
// a report of a hundred megabytes would cost thousands of switches between this process and its
// reader. Anything else, or a system that does not offer it, is left as it is.
void WidenOutputPipe(std::FILE* out);
