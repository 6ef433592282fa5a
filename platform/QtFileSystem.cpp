#include "platform/QtFileSystem.h"

#include "platform/LocalFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

QtFileSystem::QtFileSystem(QString programFolder) : programFolder_(std::move(programFolder)) {}

QString QtFileSystem::ProgramFolder() const {
    const QString folder =
        programFolder_.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder_;
    return QDir::toNativeSeparators(QDir::cleanPath(folder));
}

PathState QtFileSystem::StateOf(const QString& path) const {
    return LocalFiles::StateOf(QFile::encodeName(path));
}

bool QtFileSystem::IsOrdinaryFile(const QString& path) const {
    return LocalFiles::IsOrdinaryFile(QFile::encodeName(path));
}

std::unique_ptr<InputFile> QtFileSystem::OpenForReading(const QString& path) const {
    return LocalFiles::OpenForReading(QFile::encodeName(path), path,
                                      LocalFiles::Accept::OrdinaryFiles);
}

std::unique_ptr<OutputFile> QtFileSystem::StartWriting(const QString& path) const {
    return LocalFiles::StartWriting(QFile::encodeName(path), path);
}
