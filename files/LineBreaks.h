#pragma once

#include "platform/LineBreakKinds.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstring>
#include <type_traits>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

// A pane's text has every line break as CR LF. These helpers bring decoded text to that form
// without building it twice: the lone CRs and lone LFs are counted first (each grows by one unit),
// so that the result can be allocated once at its final size.

// Lone CRs and LFs in 8-bit text (UTF-8 or an 8-bit code page, where both are single bytes).
qsizetype CountLoneLineBreaks(QByteArrayView eightBitText);
// The same in UTF-16 text given as bytes in either byte order.
qsizetype CountLoneLineBreaksUtf16(QByteArrayView utf16Bytes, bool bigEndian);
// The same in text already decoded.
qsizetype CountLoneLineBreaks(QStringView text);

// Copies units to `out` with every CR LF, lone CR and lone LF written as CR LF; `afterCR` carries
// across calls whether the last unit seen was a CR, so that a CR LF split between two pieces is
// one break. `out` needs room for twice the units. The units may be bytes of ASCII text or
// decoded UTF-16: this is the one place that writes line breaks for both.
template <typename Unit>
QChar* CopyWithCrLf(const Unit* in, const Unit* end, QChar* out, bool& afterCR);

// Notes the kind of every line break among the units as they stand, before they become CR LF;
// `afterCR` carries across calls whether the last unit was a CR, so that a CR LF split between
// two pieces is one break.
template <typename Unit>
void NoteLineBreaks(const Unit* in, const Unit* end, LineBreakKinds& kinds, bool& afterCR);

// Collects text arriving in pieces, writing every CR LF, lone CR and lone LF as CR LF. A CR LF
// split between two pieces is still one break.
class CrLfWriter {
public:
    // `expectedSize` is the length of the finished text; a wrong guess costs time, not safety.
    explicit CrLfWriter(qsizetype expectedSize);

    void Write(QStringView piece);
    QString Finish() &&;

private:
    qsizetype Room() const { return text_.size() - size_; }
    void WriteWithinRoom(QStringView piece);
    void Grow();

    QString text_;
    qsizetype size_ = 0;
    bool afterCR_ = false;
};

// `text` with every line break as CR LF.
QString WithCrLfLineBreaks(QStringView text);

namespace line_breaks_detail {

// Whether eight units (bytes or UTF-16 units) hold a CR or an LF, without a branch per unit: a
// word holds one when (word ^ CRs) has a zero unit, which the classic carry trick finds.
template <typename Unit> bool EightHoldABreak(const Unit* eight) {
    constexpr int kUnitsPerWord = 8 / sizeof(Unit);
    constexpr quint64 kLowBits = sizeof(Unit) == 1 ? 0x0101'0101'0101'0101 : 0x0001'0001'0001'0001;
    constexpr quint64 kHighBits = kLowBits << (8 * sizeof(Unit) - 1);
    quint64 words[8 / kUnitsPerWord];
    std::memcpy(words, eight, sizeof words);
    quint64 found = 0;
    for (quint64 word : words) {
        const quint64 cr = word ^ (kLowBits * u'\r');
        const quint64 lf = word ^ (kLowBits * u'\n');
        found |= ((cr - kLowBits) & ~cr & kHighBits) | ((lf - kLowBits) & ~lf & kHighBits);
    }
    return found != 0;
}

template <typename Unit> char16_t Value(Unit unit) {
    if constexpr (std::is_same_v<Unit, QChar>)
        return unit.unicode();
    else
        return static_cast<char16_t>(static_cast<std::make_unsigned_t<Unit>>(unit));
}

} // namespace line_breaks_detail

template <typename Unit>
QChar* CopyWithCrLf(const Unit* in, const Unit* end, QChar* out, bool& afterCR) {
    using namespace line_breaks_detail;
    bool cr = afterCR;
    while (in != end) {
#ifdef __SSE2__
        // ASCII text, whole files of it: sixteen bytes checked and widened at once.
        if constexpr (sizeof(Unit) == 1) {
            if (end - in >= 16) {
                const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
                const __m128i breaks = _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r')),
                                                    _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n')));
                if (_mm_movemask_epi8(breaks) == 0) {
                    const __m128i zero = _mm_setzero_si128();
                    _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                                     _mm_unpacklo_epi8(bytes, zero));
                    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8),
                                     _mm_unpackhi_epi8(bytes, zero));
                    in += 16;
                    out += 16;
                    cr = false;
                    continue;
                }
            }
        }
#endif
        // Lines run for dozens of units between breaks: those are copied eight at a time.
        if (end - in >= 8 && !EightHoldABreak(in)) {
            for (int i = 0; i < 8; ++i)
                out[i] = QChar(Value(in[i]));
            in += 8;
            out += 8;
            cr = false;
            continue;
        }
        const char16_t unit = Value(*in++);
        if (unit != u'\r' && unit != u'\n') {
            *out++ = QChar(unit);
            cr = false;
        } else if (unit == u'\n' && cr) {
            cr = false; // the second half of a CR LF already written
        } else {
            *out++ = QChar(u'\r');
            *out++ = QChar(u'\n');
            cr = unit == u'\r';
        }
    }
    afterCR = cr;
    return out;
}

template <typename Unit>
void NoteLineBreaks(const Unit* in, const Unit* end, LineBreakKinds& kinds, bool& afterCR) {
    using namespace line_breaks_detail;
    bool cr = afterCR;
    while (in != end) {
        if (end - in >= 8 && !EightHoldABreak(in)) {
            in += 8;
            cr = false;
            continue;
        }
        const char16_t unit = Value(*in++);
        if (unit == u'\r') {
            kinds.Append(LineBreak::Cr);
        } else if (unit == u'\n') {
            if (cr)
                kinds.ChangeLast(LineBreak::CrLf);
            else
                kinds.Append(LineBreak::Lf);
        }
        cr = unit == u'\r';
    }
    afterCR = cr;
}
