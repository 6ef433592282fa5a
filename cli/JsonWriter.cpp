#include "cli/JsonWriter.h"

#include "compare/UnitScan.h"
#include "platform/TextRange.h"

#include <QChar>
#include <QString>

#include <bit>
#include <charconv>
#include <cstdint>

namespace JsonWriter {

namespace {

char HexDigit(unsigned value) {
    return "0123456789abcdef"[value & 0xF];
}

char* PutUnitEscape(char* out, char16_t unit) {
    *out++ = '\\';
    *out++ = 'u';
    for (int shift = 12; shift >= 0; shift -= 4)
        *out++ = HexDigit(static_cast<unsigned>(unit) >> shift);
    return out;
}

bool IsPlain(char16_t unit) {
    return unit >= 0x20 && unit < 0x80 && unit != u'"' && unit != u'\\';
}

// Bit i is set where units[i] is not plain: not ASCII, a control, a quote or a backslash.
std::uint32_t SpecialMask(const char16_t* units) {
#ifdef TARNWICK_UNIT_SCAN_SSE2
    using namespace compare::sse2;
    const auto special = [](__m128i v) {
        const __m128i ascii = _mm_cmpeq_epi16(_mm_and_si128(v, Set(0xFF80)), _mm_setzero_si128());
        // Units from 0x8000 compare as negative, and so as controls: they are not plain either.
        const __m128i control = _mm_cmplt_epi16(v, Set(0x20));
        const __m128i quoted =
            _mm_or_si128(_mm_cmpeq_epi16(v, Set(u'"')), _mm_cmpeq_epi16(v, Set(u'\\')));
        return _mm_or_si128(_mm_andnot_si128(ascii, _mm_set1_epi16(-1)),
                            _mm_or_si128(control, quoted));
    };
    return MaskOf(special(Load(units)), special(Load(units + 8)));
#else
    std::uint32_t mask = 0;
    for (int i = 0; i < compare::kScanUnits; ++i)
        mask |= std::uint32_t{!IsPlain(units[i])} << i;
    return mask;
#endif
}

// The unit at `in`, which is not plain, and the low half of its pair, if it starts one.
char* PutSpecial(char* out, const char16_t*& in, const char16_t* end) {
    const char16_t unit = *in++;
    if (QChar::isHighSurrogate(unit) && in != end && QChar::isLowSurrogate(*in)) {
        const char32_t code = QChar::surrogateToUcs4(unit, *in++);
        *out++ = static_cast<char>(0xF0 | (code >> 18));
        *out++ = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (code & 0x3F));
        return out;
    }
    if (QChar::isSurrogate(unit)) // alone: UTF-8 cannot carry it
        return PutUnitEscape(out, unit);
    if (unit >= 0x800) {
        *out++ = static_cast<char>(0xE0 | (unit >> 12));
        *out++ = static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (unit & 0x3F));
        return out;
    }
    if (unit >= 0x80) {
        *out++ = static_cast<char>(0xC0 | (unit >> 6));
        *out++ = static_cast<char>(0x80 | (unit & 0x3F));
        return out;
    }
    const char* shortEscape = nullptr;
    switch (unit) {
    case u'"':
        shortEscape = "\\\"";
        break;
    case u'\\':
        shortEscape = "\\\\";
        break;
    case u'\n':
        shortEscape = "\\n";
        break;
    case u'\r':
        shortEscape = "\\r";
        break;
    case u'\t':
        shortEscape = "\\t";
        break;
    default:
        return PutUnitEscape(out, unit);
    }
    *out++ = shortEscape[0];
    *out++ = shortEscape[1];
    return out;
}

} // namespace

char* PutEscaped(char* out, std::u16string_view text) {
    const char16_t* in = text.data();
    const char16_t* const end = in + text.size();
    if (text.size() < compare::kScanUnits) {
        // Most texts are short words with nothing to escape: told without a branch a unit, and
        // copied as they are.
        bool plain = true;
        for (const char16_t unit : text)
            plain &= IsPlain(unit);
        if (plain) {
            for (const char16_t unit : text)
                *out++ = static_cast<char>(unit);
            return out;
        }
    }
    while (in != end) {
        if (end - in >= compare::kScanUnits) {
            // Sixteen units are narrowed at once; those from the first that is not plain on are
            // written over.
            compare::NarrowAscii(in, out);
            const std::uint32_t special = SpecialMask(in);
            const int plain = special == 0 ? compare::kScanUnits : std::countr_zero(special);
            out += plain;
            in += plain;
            if (special == 0)
                continue;
        } else if (IsPlain(*in)) {
            *out++ = static_cast<char>(*in++);
            continue;
        }
        out = PutSpecial(out, in, end);
    }
    return out;
}

void AppendString(QByteArray& out, QStringView text) {
    out.reserve(out.size() + text.size() * qsizetype{kEscapedBytesPerUnit} + 2);
    out.append('"');
    AppendEscaped(out, text);
    out.append('"');
}

void AppendEscaped(QByteArray& out, QStringView text) {
    const qsizetype start = out.size();
    out.resize(start + text.size() * qsizetype{kEscapedBytesPerUnit});
    const char* end = PutEscaped(
        out.data() + start, std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                                static_cast<std::size_t>(text.size())));
    out.truncate(end - out.constData());
}

void AppendRanges(QByteArray& out, const std::vector<TextRange>& ranges) {
    out.append('[');
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        if (i > 0)
            out.append(',');
        out.append('[');
        AppendNumber(out, static_cast<unsigned long long>(ranges[i].start));
        out.append(',');
        AppendNumber(out, static_cast<unsigned long long>(ranges[i].length));
        out.append(']');
    }
    out.append(']');
}

void AppendNumber(QByteArray& out, unsigned long long number) {
    char digits[24];
    const auto end = std::to_chars(std::begin(digits), std::end(digits), number).ptr;
    out.append(digits, end - digits);
}

} // namespace JsonWriter
