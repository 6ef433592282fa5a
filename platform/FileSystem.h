#pragma once

#include <QDateTime>
#include <QString>

// What the program asks of the file system beyond reading and writing files.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // The folder of the running program, in native form, with no trailing separator (but a root).
    virtual QString ProgramFolder() const = 0;
    // When the file or folder was last changed; throws Failure when there is nothing to ask.
    virtual QDateTime FileDateTime(const QString& path) const = 0;
    // True for a plain file: not a folder, not hidden, not a device or other special file.
    virtual bool IsOrdinaryFile(const QString& path) const = 0;
};
