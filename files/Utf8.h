#pragma once

#include <QByteArrayView>

inline constexpr QByteArrayView kUtf8Bom = "\xEF\xBB\xBF";

// A byte that carries on a UTF-8 sequence rather than starting a character.
inline bool IsUtf8Continuation(char byte) {
    return (static_cast<uchar>(byte) & 0xC0) == 0x80;
}

// Where a piece of UTF-8 that more bytes follow may end, at most `bytes.size()`, so that decoding
// the pieces one by one, without state, gives what decoding the whole gives: the decoder must not
// be left inside a character, nor inside a broken one. Before an ASCII byte even broken sequences
// decode alike in pieces and whole, so one near the end is taken; failing that, the start of the
// last character, which is exact for valid UTF-8. Only a piece of nothing but continuation bytes
// is cut anywhere: each of them reads as one U+FFFD either way. Never 0 for a piece that is not.
inline qsizetype Utf8PieceEnd(QByteArrayView bytes) {
    constexpr qsizetype kAsciiLookBack = 64;
    constexpr qsizetype kMaxSequence = 4;
    const qsizetype size = bytes.size();
    for (qsizetype q = size - 1; q > 0 && q >= size - kAsciiLookBack; --q)
        if (static_cast<uchar>(bytes[q]) < 0x80)
            return q;
    for (qsizetype q = size - 1; q > 0 && q >= size - kMaxSequence; --q)
        if (!IsUtf8Continuation(bytes[q]))
            return q;
    return size;
}
