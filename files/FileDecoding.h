#pragma once

#include <QFile>
#include <QString>

// Decodes a regular file of UTF-8 or Windows-1252 text (with or without a UTF-8 byte-order mark,
// not rich text, not UTF-16) in two passes over chunks of it, so that the file's bytes are never
// held whole beside the text: the first pass learns the encoding and the text's exact length,
// the second decodes straight into the text. Gives what DecodeText gives for the same bytes.
// Throws Failure when the file cannot be read.
QString DecodeFileInPasses(QFile& file, qsizetype chunkBytes = qsizetype{1} << 20);
