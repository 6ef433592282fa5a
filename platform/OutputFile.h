#pragma once

#include <QByteArrayView>

// A file being written in the place of whatever is at its path. Nothing there changes until
// Commit succeeds: a failure anywhere, or dropping the object uncommitted, leaves the old file
// byte for byte as it was and no other file behind.
class OutputFile {
public:
    virtual ~OutputFile() = default;
    // Adds bytes at the end. Throws Failure.
    virtual void Write(QByteArrayView bytes) = 0;
    // Makes what was written the file's content, on the disk when this returns. Throws Failure.
    virtual void Commit() = 0;
};
