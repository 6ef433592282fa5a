#pragma once

#include <QByteArrayView>

inline constexpr QByteArrayView kUtf8Bom = "\xEF\xBB\xBF";

// A byte that carries on a UTF-8 sequence rather than starting a character.
inline bool IsUtf8Continuation(char byte) {
    return (static_cast<uchar>(byte) & 0xC0) == 0x80;
}
