#pragma once

#include "platform/FileSystem.h"

#include <QByteArray>
#include <QString>

#include <memory>

// The files of the local file system, named as the system names them: bytes, which need not be
// valid in any encoding. `shown` is the name as messages give it. Every failure throws Failure
// with a description worded for the user.
namespace LocalFiles {

// What may be opened for reading.
enum class Accept {
    OrdinaryFiles, // anything else is refused before it is opened: nothing can make it wait
    Streams,       // pipes and devices too, read once to their end (they may wait for a writer)
};

PathState StateOf(const QByteArray& path);
bool IsOrdinaryFile(const QByteArray& path);
std::unique_ptr<InputFile> OpenForReading(const QByteArray& path, const QString& shown,
                                          Accept accept);
// See OutputFile. The new file takes the old one's owner, group and mode where the process may
// set them, and only once it is complete: until then no one else may open it. A link is followed
// and the file it leads to is replaced. Other names of the old file (hard links) keep the old
// text.
std::unique_ptr<OutputFile> StartWriting(const QByteArray& path, const QString& shown);

} // namespace LocalFiles
