#include "platform/QtFileSystem.h"

#include "platform/FileNames.h"
#include "platform/LocalFiles.h"

#include <QCoreApplication>
#include <QDir>

QtFileSystem::QtFileSystem(QString programFolder) : programFolder_(std::move(programFolder)) {}

QString QtFileSystem::ProgramFolder() const {
    const QString folder =
        programFolder_.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder_;
    return QDir::toNativeSeparators(QDir::cleanPath(folder));
}

PathState QtFileSystem::StateOf(const QString& path) const {
    return LocalFiles::StateOf(FileNames::Encode(path));
}

bool QtFileSystem::IsOrdinaryFile(const QString& path) const {
    return LocalFiles::IsOrdinaryFile(FileNames::Encode(path));
}

std::unique_ptr<InputFile> QtFileSystem::OpenForReading(const QString& path) const {
    return LocalFiles::OpenForReading(FileNames::Encode(path), FileNames::Shown(path),
                                      LocalFiles::Accept::OrdinaryFiles);
}

std::unique_ptr<OutputFile> QtFileSystem::StartWriting(const QString& path) const {
    return LocalFiles::StartWriting(FileNames::Encode(path), FileNames::Shown(path));
}
