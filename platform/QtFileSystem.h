#pragma once

#include "platform/FileSystem.h"

class QtFileSystem final : public FileSystem {
public:
    // `programFolder` stands in for the executable's folder (tests); empty means the real one.
    explicit QtFileSystem(QString programFolder = {});

    QString ProgramFolder() const override;
    QDateTime FileDateTime(const QString& path) const override;
    bool IsOrdinaryFile(const QString& path) const override;

private:
    QString programFolder_;
};
