#include "app/MemoryBound.h"

#include "platform/Pane.h"

#include <algorithm>
#include <atomic>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace MemoryBound {

namespace {

std::atomic<qint64> fixedBytes = kFixedBytes;

} // namespace

qint64 ForFiles(qint64 fileBytes) {
    return 4 * fileBytes + fixedBytes;
}

qint64 FileBytesOf(const Pane& full) {
    return std::max<qint64>(0, full.Length() - (full.Content().LineCount() - 1));
}

qint64 Room(const Pane& full1, const Pane& full2, std::initializer_list<const Pane*> others) {
    qint64 held = full1.MemoryBytes() + full2.MemoryBytes();
    for (const Pane* pane : others)
        held += pane->MemoryBytes();
    // The program's own share comes out of the fixed part, as it does for the files' own.
    return ForFiles(FileBytesOf(full1) + FileBytesOf(full2)) - held -
           std::min<qint64>(kProgramBytes, fixedBytes);
}

void HandBackFreedMemory() {
#ifdef __GLIBC__
    // A fixed threshold: blocks of 128 KiB and more are mapped on their own and unmapped when
    // freed.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
}

ScopedFixedBytes::ScopedFixedBytes(qint64 bytes) : before_(fixedBytes.exchange(bytes)) {}

ScopedFixedBytes::~ScopedFixedBytes() {
    fixedBytes = before_;
}

} // namespace MemoryBound
