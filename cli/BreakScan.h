#pragma once

#include <cstddef>
#include <cstdint>

// Finds the line-break bytes of 8-bit text: lines run for dozens of bytes between breaks, so the
// bytes are compared sixteen at a time (SSE2), or thirty-two where the processor has AVX2, and
// the breaks read off a bit mask. Which one runs is chosen once, when first asked.
namespace break_scan {

// The most bytes one call may look at: offsets are 32-bit.
inline constexpr std::size_t kMaxBlockBytes = std::size_t{1} << 30;

struct Found {
    std::size_t count = 0; // offsets written
    bool nonAscii = false; // a byte of 0x80 or more was seen
};

// Writes to `at` the offset of every CR and every LF in `bytes` (with `crOnly`, every CR), in
// order; `at` needs room for `size` offsets. `size` is at most kMaxBlockBytes.
Found Scan(const char* bytes, std::size_t size, bool crOnly, std::uint32_t* at);

// The same, one byte at a time: what the vector versions must agree with.
Found ScanPortable(const char* bytes, std::size_t size, bool crOnly, std::uint32_t* at);

// Which version Scan runs: "avx2", "sse2" or "portable".
const char* ScanKind();

} // namespace break_scan
