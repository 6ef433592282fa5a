#pragma once

#include <QByteArrayView>
#include <QString>

// Bytes are decoded a chunk at a time into a small buffer that stays in cache; the chunk size is
// a parameter so that tests can put chunk boundaries where they like.
inline constexpr qsizetype kDecodingChunkBytes = 64 * 1024;

// A file's bytes as a pane shows them, with every line break as CR LF (see DecodedText):
// - rich text (starting with "{\rtf") gives its plain text;
// - a UTF-8 or UTF-16 (LE or BE) byte-order mark selects that encoding and is dropped;
// - otherwise valid UTF-8 is read as UTF-8, anything else as Windows-1252.
// Bytes that are invalid in the chosen encoding read as U+FFFD; nothing fails.
QString DecodeText(QByteArrayView bytes, qsizetype chunkBytes = kDecodingChunkBytes);

// The bytes as UTF-8 and nothing more: line breaks as they are, a byte-order mark kept as U+FEFF,
// each invalid byte as U+FFFD.
QString DecodeExactUtf8(QByteArrayView bytes, qsizetype chunkBytes = kDecodingChunkBytes);
