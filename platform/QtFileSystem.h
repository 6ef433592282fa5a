#pragma once

#include "platform/FileSystem.h"

// The local file system, for paths as Qt spells them or as FileNames carries a system's bytes.
class QtFileSystem final : public FileSystem {
public:
    // `programFolder` stands in for the executable's folder (tests); empty means the real one.
    explicit QtFileSystem(QString programFolder = {});

    QString ProgramFolder() const override;
    PathState StateOf(const QString& path) const override;
    bool IsOrdinaryFile(const QString& path) const override;
    std::unique_ptr<InputFile> OpenForReading(const QString& path) const override;
    std::unique_ptr<OutputFile> StartWriting(const QString& path) const override;

private:
    QString programFolder_;
};
