#include "files/TextFileReading.h"

#include "files/DecodedText.h"
#include "platform/QtFileSystem.h"

namespace {

QString Read(const FileSystem& fileSystem, const QString& path, DecodedText::Form form) {
    return DecodedText(fileSystem.OpenForReading(path), form, kMaxTextFileBytes).ReadAll();
}

} // namespace

QString ReadTextFile(const FileSystem& fileSystem, const QString& path) {
    return Read(fileSystem, path, DecodedText::Form::AsLoaded);
}

QString ReadExactTextFile(const FileSystem& fileSystem, const QString& path) {
    return Read(fileSystem, path, DecodedText::Form::Exact);
}
