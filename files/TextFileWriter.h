#pragma once

#include "platform/FileSystem.h"

#include <QStringEncoder>
#include <QStringView>

#include <memory>

// How a file of text is written: in the system's 8-bit encoding (what it cannot hold becomes its
// replacement character), or in UTF-8, with or without a byte-order mark in front.
enum class TextFileEncoding { System, Utf8, Utf8WithBom };

// Writes text to a file in an encoding, with nothing added but the byte-order mark asked for, a
// piece at a time: the text need not be one string. Nothing at the path changes until Commit
// succeeds; a failure anywhere, or dropping the writer uncommitted, leaves the old file exactly as
// it was. Has no user interface, so it may run on any thread. Throws Failure.
class TextFileWriter {
public:
    TextFileWriter(const FileSystem& fileSystem, const QString& path,
                   TextFileEncoding encoding = TextFileEncoding::System);

    void Write(QStringView text);
    void Commit();

private:
    std::unique_ptr<OutputFile> file_;
    // Keeps a surrogate pair split between two pieces whole.
    QStringEncoder encoder_;
};
