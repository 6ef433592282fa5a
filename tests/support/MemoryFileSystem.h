#pragma once

#include "platform/Failure.h"
#include "platform/FileSystem.h"

#include <QByteArray>

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <set>

// Files kept in memory, with faults to order: a read that fails part way or hands out a few bytes
// at a time, a disk that fills up after so many bytes, a commit that fails, paths that may not be
// read or written, and paths that are there but are no ordinary file.
class MemoryFileSystem final : public FileSystem {
public:
    QString ProgramFolder() const override { return programFolder; }

    PathState StateOf(const QString& path) const override {
        const std::lock_guard lock(mutex_);
        if (unreachable.contains(path))
            return PathState::Unreachable;
        return files.contains(path) || special.contains(path) ? PathState::Present
                                                              : PathState::Absent;
    }

    bool IsOrdinaryFile(const QString& path) const override {
        const std::lock_guard lock(mutex_);
        return files.contains(path);
    }

    std::unique_ptr<InputFile> OpenForReading(const QString& path) const override {
        const std::lock_guard lock(mutex_);
        Refuse(path);
        const auto found = files.find(path);
        if (found == files.end())
            throw Failure(QStringLiteral("File not found"));
        return std::make_unique<MemoryInputFile>(found->second, *this);
    }

    std::unique_ptr<OutputFile> StartWriting(const QString& path) const override {
        const std::lock_guard lock(mutex_);
        Refuse(path);
        return std::make_unique<MemoryOutputFile>(path, *const_cast<MemoryFileSystem*>(this));
    }

    QString programFolder = QStringLiteral("/program");
    std::map<QString, QByteArray> files;
    std::set<QString> special;     // a device, a pipe, a socket: there, but no ordinary file
    std::set<QString> unreachable; // a folder on the way that may not be searched
    std::set<QString> forbidden;   // opening fails with "Permission denied"
    qsizetype readPieceBytes = 0;  // when not 0, each read hands out at most this many bytes
    qint64 failReadAfter = -1;     // when not -1, reading past this many bytes fails
    bool sizeUnknown = false;      // files say they are empty, as those under /proc do
    qint64 diskRoom = -1;          // when not -1, bytes that may still be written in all
    bool failCommit = false;
    int commits = 0;

private:
    void Refuse(const QString& path) const {
        if (unreachable.contains(path) || forbidden.contains(path))
            throw Failure(QStringLiteral("Permission denied"));
        if (special.contains(path))
            throw Failure(path + QStringLiteral(" is not an ordinary file"));
    }

    class MemoryInputFile final : public InputFile {
    public:
        MemoryInputFile(QByteArray bytes, const MemoryFileSystem& owner)
            : bytes_(std::move(bytes)), owner_(owner) {}
        std::size_t Read(char* data, std::size_t size) override {
            qint64 wanted = static_cast<qint64>(size);
            if (owner_.readPieceBytes > 0)
                wanted = std::min<qint64>(wanted, owner_.readPieceBytes);
            if (owner_.failReadAfter >= 0 && position_ + wanted > owner_.failReadAfter)
                throw Failure(QStringLiteral("Input/output error"));
            const qint64 given = std::min<qint64>(wanted, bytes_.size() - position_);
            std::copy_n(bytes_.constData() + position_, given, data);
            position_ += given;
            return static_cast<std::size_t>(given);
        }
        qint64 SizeHint() const override { return owner_.sizeUnknown ? 0 : bytes_.size(); }
        void Rewind() override { position_ = 0; }

    private:
        QByteArray bytes_;
        const MemoryFileSystem& owner_;
        qint64 position_ = 0;
    };

    class MemoryOutputFile final : public OutputFile {
    public:
        MemoryOutputFile(QString path, MemoryFileSystem& owner)
            : path_(std::move(path)), owner_(owner) {}
        void Write(QByteArrayView bytes) override {
            const std::lock_guard lock(owner_.mutex_);
            if (owner_.diskRoom >= 0 && bytes.size() > owner_.diskRoom)
                throw Failure(QStringLiteral("No space left on device"));
            if (owner_.diskRoom >= 0)
                owner_.diskRoom -= bytes.size();
            written_.append(bytes);
        }
        void Commit() override {
            const std::lock_guard lock(owner_.mutex_);
            if (owner_.failCommit)
                throw Failure(QStringLiteral("Input/output error"));
            owner_.files[path_] = written_;
            ++owner_.commits;
        }

    private:
        QString path_;
        MemoryFileSystem& owner_;
        QByteArray written_;
    };

    mutable std::mutex mutex_;
};
