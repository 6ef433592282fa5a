#pragma once

#include <QByteArrayView>
#include <QChar>

// Windows-1252, the 8-bit code page that bytes which are not UTF-8 are taken to be in. It is
// Latin-1 except for 0x80-0x9F, which hold typographic characters (quotes, dashes, the euro sign).
// The five bytes the code page leaves undefined map to the C1 controls of the same value, so
// that no byte is lost.
char16_t Windows1252ToUnicode(uchar byte);

// Decodes every byte of `bytes` into `out`, which must have room for bytes.size() characters;
// returns the end of what was written.
QChar* DecodeWindows1252(QByteArrayView bytes, QChar* out);
