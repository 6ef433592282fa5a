#pragma once

#include "platform/FileSystem.h"
#include "platform/TextFileForm.h"

#include <QString>

#include <memory>

// Files larger than this are refused before anything is read: decoded, with the pane's colours,
// one would take several GiB of memory.
inline constexpr qint64 kMaxTextFileBytes = qint64{1} << 30;

// The text of an ordinary file as a pane shows it (see DecodeText). Throws Failure with a
// description for the user when the file is missing, is no ordinary file, cannot be read or is
// over kMaxTextFileBytes. May be called from any thread.
QString ReadTextFile(const FileSystem& fileSystem, const QString& path);

// The same, and how the file held it: its encoding, and its line breaks (each one, in order, when
// the file mixes kinds). Throws as ReadTextFile.
struct TextAndForm {
    QString text;
    std::shared_ptr<TextFileForm> form;
};
TextAndForm ReadTextFileAndForm(const FileSystem& fileSystem, const QString& path);

// The file's bytes as UTF-8, unchanged (see DecodeExactUtf8). Throws as ReadTextFile.
QString ReadExactTextFile(const FileSystem& fileSystem, const QString& path);
