#pragma once

#include "platform/FileSystem.h"

#include <QStringEncoder>
#include <QStringView>

#include <memory>

// Writes text to a file in the system's 8-bit encoding (what it cannot hold becomes its
// replacement character), with nothing added, a piece at a time: the text need not be one
// string. Nothing at the path changes until Commit succeeds; a failure anywhere, or dropping the
// writer uncommitted, leaves the old file exactly as it was. Has no user interface, so it may run
// on any thread. Throws Failure.
class TextFileWriter {
public:
    TextFileWriter(const FileSystem& fileSystem, const QString& path);

    void Write(QStringView text);
    void Commit();

private:
    std::unique_ptr<OutputFile> file_;
    // Keeps a surrogate pair split between two pieces whole.
    QStringEncoder encoder_{QStringEncoder::System};
};
