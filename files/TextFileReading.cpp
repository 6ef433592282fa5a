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

TextAndForm ReadTextFileAndForm(const FileSystem& fileSystem, const QString& path) {
    DecodedText decoded(fileSystem.OpenForReading(path), DecodedText::Form::AsLoaded,
                        kMaxTextFileBytes);
    auto form = std::make_shared<TextFileForm>(decoded.FileForm());
    QString text = decoded.ReadAll(form->mixedBreaks ? &form->eachBreak : nullptr);
    return {std::move(text), std::move(form)};
}

QString ReadExactTextFile(const FileSystem& fileSystem, const QString& path) {
    return Read(fileSystem, path, DecodedText::Form::Exact);
}
