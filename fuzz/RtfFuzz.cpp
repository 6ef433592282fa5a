// Any bytes read as rich text give some text, in bounded time and room, and never crash.
#include "files/RtfText.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView rtf(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = RtfToPlainText(rtf);
    // Each byte gives at most a character, a \par two.
    if (text.size() > 2 * rtf.size() + 2)
        std::abort();
    return 0;
}
