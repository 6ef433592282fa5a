#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstddef>

// A file opened for reading. Reading runs to the end of the file, whatever size it gave when it
// was opened: a file of the system's (under /proc, say) reports 0 and still has text.
class InputFile {
public:
    virtual ~InputFile() = default;
    // Reads up to `size` bytes into `data`; returns 0 only at the end. Throws Failure.
    virtual std::size_t Read(char* data, std::size_t size) = 0;
    // The size the file had when it was opened; -1 for a stream (a pipe or a device), which has
    // none and can be read only once.
    virtual qint64 SizeHint() const = 0;
    // Back to the start, for another reading. Throws Failure for a stream.
    virtual void Rewind() = 0;
};

// The whole of a small file. Throws Failure when it cannot be read, or `tooLarge` when it holds
// more than `maxBytes`.
QByteArray ReadWholeFile(InputFile& file, qint64 maxBytes, const QString& tooLarge);
