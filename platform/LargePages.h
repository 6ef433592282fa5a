#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

// Asks the system to back a large buffer, about to be written from one end to the other, with
// large pages where it offers them: a comparison writes hundreds of megabytes of fresh memory, and
// taking it in 2 MiB pages instead of 4 KiB ones saves most of the cost of first touching it.
// Only a hint: the contents are unchanged, and where it is not offered nothing happens. Buffers
// too small to hold an aligned large page are left alone. Header only, so that the comparison
// engine, which links nothing of the desktop, can use it too.
inline void AdviseLargePages([[maybe_unused]] const void* data,
                             [[maybe_unused]] std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
    const auto address = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (address + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t end = (address + bytes) & ~(kLargePage - 1);
    if (end > first) // a refusal leaves ordinary pages, which is fine
        madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#endif
}
