#pragma once

#include <cstdint>

#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#include <emmintrin.h>
#define TARNWICK_UNIT_SCAN_SSE2 1
#endif

// Looks at UTF-16 text sixteen units at a time. Separators and non-ASCII units are few among
// many, so a bit mask of where they stand, read with countr_zero, replaces a branch per unit.
// Each function has a portable version, kept also where the vector one is used so that tests
// can hold the two against each other.
namespace compare {

inline constexpr int kScanUnits = 16;

// Bit i of each mask is set where units[i] equals `a` (first mask) or `b` (second mask).
struct UnitMasks {
    std::uint32_t a = 0;
    std::uint32_t b = 0;
};

namespace portable {

inline UnitMasks EqualMasks(const char16_t* units, char16_t a, char16_t b) {
    UnitMasks masks;
    for (int i = 0; i < kScanUnits; ++i) {
        masks.a |= std::uint32_t{units[i] == a} << i;
        masks.b |= std::uint32_t{units[i] == b} << i;
    }
    return masks;
}

inline std::uint32_t NonAsciiOrEqualMask(const char16_t* units, char16_t unit) {
    std::uint32_t mask = 0;
    for (int i = 0; i < kScanUnits; ++i)
        mask |= std::uint32_t{units[i] >= 0x80 || units[i] == unit} << i;
    return mask;
}

inline void NarrowAscii(const char16_t* units, char* out) {
    for (int i = 0; i < kScanUnits; ++i)
        out[i] = static_cast<char>(units[i]);
}

inline UnitMasks FoldedCopy(const char16_t* units, bool fold, char16_t* out) {
    UnitMasks masks;
    for (int i = 0; i < kScanUnits; ++i) {
        const char16_t unit = units[i];
        out[i] = fold && unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + 0x20) : unit;
        masks.a |= std::uint32_t{unit == u' '} << i;
        masks.b |= std::uint32_t{unit == u'\t'} << i;
    }
    return masks;
}

inline UnitMasks RuleChangeMasks(const char16_t* units, bool fold) {
    UnitMasks masks;
    for (int i = 0; i < kScanUnits; ++i) {
        const char16_t unit = units[i];
        const bool changes =
            unit >= 0x80 || unit == u'\t' || (fold && unit >= u'A' && unit <= u'Z');
        masks.a |= std::uint32_t{changes} << i;
        masks.b |= std::uint32_t{unit == u' '} << i;
    }
    return masks;
}

} // namespace portable

#ifdef TARNWICK_UNIT_SCAN_SSE2

namespace sse2 {

inline __m128i Load(const char16_t* units) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(units));
}

// The sixteen 16-bit lanes of two comparisons, all ones or all zeros, as sixteen bits.
inline std::uint32_t MaskOf(__m128i low, __m128i high) {
    return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(low, high)));
}

inline __m128i Set(char16_t unit) {
    return _mm_set1_epi16(static_cast<short>(unit));
}

} // namespace sse2

inline UnitMasks EqualMasks(const char16_t* units, char16_t a, char16_t b) {
    const __m128i low = sse2::Load(units);
    const __m128i high = sse2::Load(units + 8);
    const __m128i va = sse2::Set(a);
    const __m128i vb = sse2::Set(b);
    return {sse2::MaskOf(_mm_cmpeq_epi16(low, va), _mm_cmpeq_epi16(high, va)),
            sse2::MaskOf(_mm_cmpeq_epi16(low, vb), _mm_cmpeq_epi16(high, vb))};
}

inline std::uint32_t NonAsciiOrEqualMask(const char16_t* units, char16_t unit) {
    const __m128i low = sse2::Load(units);
    const __m128i high = sse2::Load(units + 8);
    const __m128i highBits = sse2::Set(0xFF80);
    const __m128i zero = _mm_setzero_si128();
    const __m128i wanted = sse2::Set(unit);
    const auto ascii = [&](__m128i v) { return _mm_cmpeq_epi16(_mm_and_si128(v, highBits), zero); };
    const std::uint32_t asciiMask = sse2::MaskOf(ascii(low), ascii(high));
    const std::uint32_t equalMask =
        sse2::MaskOf(_mm_cmpeq_epi16(low, wanted), _mm_cmpeq_epi16(high, wanted));
    return (~asciiMask & 0xFFFF) | equalMask;
}

// The sixteen units copied to `out`, ASCII capitals made small when `fold`; the masks of the
// blanks (a) and the tabs (b) among them.
inline UnitMasks FoldedCopy(const char16_t* units, bool fold, char16_t* out) {
    const __m128i low = sse2::Load(units);
    const __m128i high = sse2::Load(units + 8);
    const auto folded = [&](__m128i v) {
        if (!fold)
            return v;
        // Signed compares: units from 0x8000 on are below 'A' and stay as they are.
        const __m128i capital = _mm_and_si128(_mm_cmpgt_epi16(v, sse2::Set(u'A' - 1)),
                                              _mm_cmplt_epi16(v, sse2::Set(u'Z' + 1)));
        return _mm_add_epi16(v, _mm_and_si128(capital, sse2::Set(0x20)));
    };
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), folded(low));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), folded(high));
    const __m128i blank = sse2::Set(u' ');
    const __m128i tab = sse2::Set(u'\t');
    return {sse2::MaskOf(_mm_cmpeq_epi16(low, blank), _mm_cmpeq_epi16(high, blank)),
            sse2::MaskOf(_mm_cmpeq_epi16(low, tab), _mm_cmpeq_epi16(high, tab))};
}

// Where the rules about blanks and case may change sixteen units: the mask `a` of the units that
// are not ASCII, the tabs and, when `fold`, the capitals; `b` of the blanks.
inline UnitMasks RuleChangeMasks(const char16_t* units, bool fold) {
    const __m128i low = sse2::Load(units);
    const __m128i high = sse2::Load(units + 8);
    const __m128i highBits = sse2::Set(0xFF80);
    const __m128i zero = _mm_setzero_si128();
    const __m128i tab = sse2::Set(u'\t');
    const __m128i blank = sse2::Set(u' ');
    const auto changes = [&](__m128i v) {
        const __m128i notAscii =
            _mm_andnot_si128(_mm_cmpeq_epi16(_mm_and_si128(v, highBits), zero), _mm_set1_epi16(-1));
        __m128i found = _mm_or_si128(notAscii, _mm_cmpeq_epi16(v, tab));
        if (fold) // signed compares: units from 0x8000 on are below 'A', and not ASCII anyway
            found = _mm_or_si128(found, _mm_and_si128(_mm_cmpgt_epi16(v, sse2::Set(u'A' - 1)),
                                                      _mm_cmplt_epi16(v, sse2::Set(u'Z' + 1))));
        return found;
    };
    return {sse2::MaskOf(changes(low), changes(high)),
            sse2::MaskOf(_mm_cmpeq_epi16(low, blank), _mm_cmpeq_epi16(high, blank))};
}

// Only the units below 0x80 come out right; the others are for the caller to overwrite.
inline void NarrowAscii(const char16_t* units, char* out) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                     _mm_packus_epi16(sse2::Load(units), sse2::Load(units + 8)));
}

#else

using portable::EqualMasks;
using portable::FoldedCopy;
using portable::NarrowAscii;
using portable::NonAsciiOrEqualMask;
using portable::RuleChangeMasks;

#endif

} // namespace compare
