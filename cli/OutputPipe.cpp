#include "cli/OutputPipe.h"

#if defined(__linux__)
#include <fcntl.h>
#endif

void WidenOutputPipe([[maybe_unused]] std::FILE* out) {
#ifdef F_SETPIPE_SZ
    // The most an ordinary user may ask for by default; a refusal changes nothing.
    constexpr int kPipeBytes = 1 << 20;
    fcntl(fileno(out), F_SETPIPE_SZ, kPipeBytes);
#endif
}
