#include "cli/BreakScan.h"

#include <bit>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TARNWICK_BREAK_SCAN_X86 1
#endif

namespace break_scan {

namespace {

// Sixty-four bytes make one mask: bit i is set where byte i is a break.
constexpr std::size_t kStride = 64;

std::size_t Flatten(std::uint64_t mask, std::uint32_t base, std::uint32_t* at) {
    std::size_t count = 0;
    while (mask != 0) {
        at[count++] = base + static_cast<std::uint32_t>(std::countr_zero(mask));
        mask &= mask - 1;
    }
    return count;
}

// The bytes the strides left over.
Found Tail(const char* bytes, std::size_t from, std::size_t size, bool crOnly, std::uint32_t* at,
           Found found) {
    for (std::size_t i = from; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        found.nonAscii = found.nonAscii || byte >= 0x80;
        if (byte == '\r' || (!crOnly && byte == '\n'))
            at[found.count++] = static_cast<std::uint32_t>(i);
    }
    return found;
}

#ifdef TARNWICK_BREAK_SCAN_X86

std::uint64_t Mask16(__m128i v, __m128i cr, __m128i lf, bool crOnly) {
    __m128i hit = _mm_cmpeq_epi8(v, cr);
    if (!crOnly)
        hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, lf));
    return static_cast<std::uint32_t>(_mm_movemask_epi8(hit));
}

Found ScanSse2(const char* bytes, std::size_t size, bool crOnly, std::uint32_t* at) {
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    Found found;
    int high = 0;
    std::size_t i = 0;
    for (; i + kStride <= size; i += kStride) {
        std::uint64_t mask = 0;
        for (std::size_t part = 0; part < 4; ++part) {
            const __m128i v =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i + 16 * part));
            high |= _mm_movemask_epi8(v);
            mask |= Mask16(v, cr, lf, crOnly) << (16 * part);
        }
        found.count += Flatten(mask, static_cast<std::uint32_t>(i), at + found.count);
    }
    found.nonAscii = high != 0;
    return Tail(bytes, i, size, crOnly, at, found);
}

__attribute__((target("avx2"))) Found ScanAvx2(const char* bytes, std::size_t size, bool crOnly,
                                               std::uint32_t* at) {
    const __m256i cr = _mm256_set1_epi8('\r');
    const __m256i lf = _mm256_set1_epi8('\n');
    Found found;
    int high = 0;
    std::size_t i = 0;
    for (; i + kStride <= size; i += kStride) {
        const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + i));
        const __m256i upper = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + i + 32));
        high |= _mm256_movemask_epi8(_mm256_or_si256(low, upper));
        __m256i hitLow = _mm256_cmpeq_epi8(low, cr);
        __m256i hitUpper = _mm256_cmpeq_epi8(upper, cr);
        if (!crOnly) {
            hitLow = _mm256_or_si256(hitLow, _mm256_cmpeq_epi8(low, lf));
            hitUpper = _mm256_or_si256(hitUpper, _mm256_cmpeq_epi8(upper, lf));
        }
        const std::uint64_t mask =
            std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(hitLow))} |
            std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(hitUpper))} << 32;
        found.count += Flatten(mask, static_cast<std::uint32_t>(i), at + found.count);
    }
    found.nonAscii = high != 0;
    return Tail(bytes, i, size, crOnly, at, found);
}

#endif

using ScanFunction = Found (*)(const char*, std::size_t, bool, std::uint32_t*);

struct Chosen {
    ScanFunction scan;
    const char* kind;
};

Chosen Choose() {
#ifdef TARNWICK_BREAK_SCAN_X86
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2"))
        return {ScanAvx2, "avx2"};
    return {ScanSse2, "sse2"};
#else
    return {ScanPortable, "portable"};
#endif
}

const Chosen& TheChosen() {
    static const Chosen chosen = Choose();
    return chosen;
}

} // namespace

Found Scan(const char* bytes, std::size_t size, bool crOnly, std::uint32_t* at) {
    return TheChosen().scan(bytes, size, crOnly, at);
}

Found ScanPortable(const char* bytes, std::size_t size, bool crOnly, std::uint32_t* at) {
    return Tail(bytes, 0, size, crOnly, at, Found{});
}

const char* ScanKind() {
    return TheChosen().kind;
}

} // namespace break_scan
