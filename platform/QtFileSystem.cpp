#include "platform/QtFileSystem.h"

#include "platform/Failure.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QtFileSystem::QtFileSystem(QString programFolder) : programFolder_(std::move(programFolder)) {}

QString QtFileSystem::ProgramFolder() const {
    const QString folder =
        programFolder_.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder_;
    return QDir::toNativeSeparators(QDir::cleanPath(folder));
}

QDateTime QtFileSystem::FileDateTime(const QString& path) const {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        throw Failure(QStringLiteral("File not found"));
    return info.lastModified();
}

bool QtFileSystem::IsOrdinaryFile(const QString& path) const {
    const QFileInfo info(path);
    return !path.isEmpty() && info.exists() && info.isFile() && !info.isHidden();
}
