#pragma once

#include "platform/InputFile.h"
#include "platform/OutputFile.h"

#include <QString>

#include <memory>

// What a path leads to, as far as the program may find out.
enum class PathState {
    Absent,      // nothing there
    Present,     // something: a file, a folder, a link (even one that leads nowhere) ...
    Unreachable, // the system will not say (a folder on the way that may not be searched ...)
};

// What the program asks of the file system. Every call may come from any thread.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // The folder of the running program, in native form, with no trailing separator (but a root).
    virtual QString ProgramFolder() const = 0;
    // Whether something is at the path, by the path's exact name.
    virtual PathState StateOf(const QString& path) const = 0;
    // True for a plain file: not a folder, not hidden, not a device or other special file.
    virtual bool IsOrdinaryFile(const QString& path) const = 0;
    // Opens an ordinary file for reading. Anything else (a folder, a pipe, a device, a socket) is
    // refused before it is opened, so that nothing waits on it. Throws Failure worded for the
    // user ("File not found", "... is not an ordinary file", "Permission denied" ...).
    virtual std::unique_ptr<InputFile> OpenForReading(const QString& path) const = 0;
    // Starts writing a file that replaces whatever ordinary file is at the path (see OutputFile).
    // A path that leads to anything but an ordinary file is refused. Throws Failure.
    virtual std::unique_ptr<OutputFile> StartWriting(const QString& path) const = 0;
};
