#include "files/TextFileWriter.h"

#include "DeviceNode.h"
#include "FailingSync.h"
#include "FailureOf.h"
#include "MemoryFileSystem.h"
#include "platform/Failure.h"
#include "platform/QtFileSystem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

void Save(const FileSystem& files, const QString& path, const std::vector<QString>& pieces) {
    TextFileWriter writer(files, path);
    for (const QString& piece : pieces)
        writer.Write(piece);
    writer.Commit();
}

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void Write(const QString& path, QByteArrayView bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes.data(), bytes.size());
}

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

// While alive, files this process writes may not grow past `bytes` (even for root).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

private:
    rlimit saved_{};
};

// A file system of 64 KiB of its own, filled to the last block; unmounted however the test ends.
class FullDisk {
public:
    FullDisk() {
        const QByteArray path = QFile::encodeName(folder_.path());
        if (mount("tmpfs", path.constData(), "tmpfs", 0, "size=64k") != 0) {
            refusal_ = errno;
            return;
        }
        mounted_ = true;
    }
    ~FullDisk() {
        if (mounted_)
            umount2(QFile::encodeName(folder_.path()).constData(), MNT_DETACH);
    }
    // Why mounting was refused, or 0.
    int Refusal() const { return refusal_; }
    QString Path(const QString& name) const { return folder_.filePath(name); }
    QString Folder() const { return folder_.path(); }
    void Fill() const {
        const int fd = open(QFile::encodeName(Path(u"filler"_s)).constData(),
                            O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        const std::vector<char> block(4096, 'f');
        while (write(fd, block.data(), block.size()) > 0) {
        }
        close(fd);
    }

private:
    QTemporaryDir folder_;
    bool mounted_ = false;
    int refusal_ = 0;
};

// While alive, files this process creates start from `mask`.
class FileModeMask {
public:
    explicit FileModeMask(mode_t mask) : saved_(umask(mask)) {}
    ~FileModeMask() { umask(saved_); }

private:
    mode_t saved_;
};

mode_t ModeOf(const QString& path) {
    struct stat info {};
    return stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : ~0u;
}

class TextFileWriterTest : public ::testing::Test {
protected:
    QString PathOf(const QString& name) const { return dir_.filePath(name); }

    // The mode of the file being written beside `name`, the folder's only other entry.
    mode_t ModeBeside(const QString& name) const {
        QStringList others = Entries(dir_.path());
        others.removeOne(name);
        return others.size() == 1 ? ModeOf(PathOf(others[0])) : ~0u;
    }

    QtFileSystem files_;
    QTemporaryDir dir_;
};

} // namespace

TEST(TextFileWriterFaultsTest, APieceThatDoesNotFitOrAFailedCommitLeavesTheOldFile) {
    MemoryFileSystem files;
    files.files[u"/r.txt"_s] = "old";
    Save(files, u"/r.txt"_s, {u"a\r\n"_s, u"caf\u00e9"_s, QString()});
    EXPECT_EQ(files.files[u"/r.txt"_s], QByteArray("a\r\ncaf\xC3\xA9"));
    files.diskRoom = 3;
    EXPECT_EQ(FailureOf([&] { Save(files, u"/r.txt"_s, {u"new text"_s}); }),
              u"No space left on device"_s);
    EXPECT_EQ(files.files[u"/r.txt"_s], QByteArray("a\r\ncaf\xC3\xA9"));
    files.diskRoom = -1;
    files.failCommit = true;
    EXPECT_EQ(FailureOf([&] { Save(files, u"/r.txt"_s, {u"new"_s}); }), u"Input/output error"_s);
    EXPECT_EQ(files.files[u"/r.txt"_s], QByteArray("a\r\ncaf\xC3\xA9"));
    files.special = {u"/device"_s};
    EXPECT_EQ(FailureOf([&] { Save(files, u"/device"_s, {u"x"_s}); }),
              u"/device is not an ordinary file"_s);
}

TEST_F(TextFileWriterTest, APairSplitBetweenPiecesIsOneCharacter) {
    const QString path = PathOf(u"pair.txt"_s);
    const QString smiley = u"\U0001F600"_s;
    Save(files_, path, {u"a"_s + smiley[0], smiley.mid(1) + u"b"_s});
    EXPECT_EQ(Read(path), QByteArray("a\xF0\x9F\x98\x80"
                                     "b"));
}

// Too big for the file size limit: the write fails, says why, and the old file stays.
TEST_F(TextFileWriterTest, TheFileSizeLimitFailsTheSaveAndKeepsTheOldFile) {
    const QString path = PathOf(u"old.txt"_s);
    struct Row {
        qsizetype bytes;
        bool fits;
    };
    for (const Row row : {Row{1, true}, Row{4096, true}, Row{4097, false}, Row{16384, false},
                          Row{16385, false}, Row{1000000, false}}) {
        SCOPED_TRACE(row.bytes);
        Write(path, "old content");
        QString failure;
        {
            const FileSizeLimit limit(4096);
            failure = FailureOf([&] { Save(files_, path, {QString(row.bytes, u'x')}); });
        }
        if (row.fits) {
            EXPECT_EQ(failure, u"no failure"_s);
            EXPECT_EQ(Read(path).size(), row.bytes);
        } else {
            EXPECT_TRUE(failure.startsWith(u"File too large"_s)) << failure.toStdString();
            EXPECT_EQ(Read(path), QByteArray("old content"));
        }
        EXPECT_EQ(Entries(dir_.path()), QStringList{u"old.txt"_s}) << "nothing else is left";
    }
}

// The disk is full: even a byte cannot be written, and no save of any size replaces the file.
TEST_F(TextFileWriterTest, AFullDiskFailsTheSaveAndKeepsTheOldFile) {
    const FullDisk disk;
    if (disk.Refusal() != 0)
        GTEST_SKIP() << "mounting a file system was refused: " << strerror(disk.Refusal());
    const QString path = disk.Path(u"old.txt"_s);
    Write(path, "old\n");
    disk.Fill();
    for (const qsizetype bytes : {1, 4096, 16384, 16385, 1000000}) {
        SCOPED_TRACE(bytes);
        EXPECT_EQ(FailureOf([&] { Save(files_, path, {QString(bytes, u'x')}); }),
                  u"No space left on device"_s);
        EXPECT_EQ(Read(path), QByteArray("old\n"));
        EXPECT_EQ(Entries(disk.Folder()), (QStringList{u"filler"_s, u"old.txt"_s}));
    }
}

// What was written is not known to be on the disk until fsync says so: a failed one is a failed
// save, and the old file stays.
TEST_F(TextFileWriterTest, AFailedSyncFailsTheSaveAndKeepsTheOldFile) {
    const QString path = PathOf(u"synced.txt"_s);
    Write(path, "old");
    QString failure;
    const auto refusal =
        RunWhereSyncFails([&] { failure = FailureOf([&] { Save(files_, path, {u"new"_s}); }); });
    if (refusal)
        GTEST_SKIP() << *refusal;
    EXPECT_EQ(failure, u"Input/output error"_s);
    EXPECT_EQ(Read(path), QByteArray("old"));
    EXPECT_EQ(Entries(dir_.path()), QStringList{u"synced.txt"_s}) << "nothing else is left";
}

TEST_F(TextFileWriterTest, TheNewFileKeepsTheOldOnesOwnerGroupAndMode) {
    const QString path = PathOf(u"kept.txt"_s);
    Write(path, "old");
    const QByteArray native = QFile::encodeName(path);
    ASSERT_EQ(chmod(native.constData(), 0640), 0);
    const bool root = geteuid() == 0;
    if (root) { // nobody's, as root may make it
        ASSERT_EQ(chown(native.constData(), 65534, 65534), 0);
    }
    Save(files_, path, {u"new"_s});
    struct stat info {};
    ASSERT_EQ(stat(native.constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(info.st_uid, 65534u);
        EXPECT_EQ(info.st_gid, 65534u);
    }
    EXPECT_EQ(Read(path), QByteArray("new"));
}

// Whoever opens the new file while it is written goes on reading it after the rename: until the
// last byte is in, no one but the owner may, and the owner no more than the old file allowed.
TEST_F(TextFileWriterTest, TheNewTextIsTheOwnersAloneUntilItIsComplete) {
    const FileModeMask mask(022);
    const QString name = u"private.txt"_s;
    const QString path = PathOf(name);
    struct Row {
        mode_t old;
        mode_t whileWritten;
    };
    for (const Row row : {Row{0644, 0600}, Row{0666, 0600}, Row{0604, 0600}, Row{0640, 0600},
                          Row{0600, 0600}, Row{0200, 0200}}) {
        SCOPED_TRACE(row.old);
        Write(path, "old");
        ASSERT_EQ(chmod(QFile::encodeName(path).constData(), row.old), 0);
        TextFileWriter writer(files_, path);
        const mode_t beforeTheFirstByte = ModeBeside(name);
        writer.Write(QString(200000, u'x')); // more than is held back: some is in the file
        EXPECT_EQ(beforeTheFirstByte, row.whileWritten);
        EXPECT_EQ(ModeBeside(name), row.whileWritten);
        writer.Commit();
        EXPECT_EQ(ModeOf(path), row.old);
    }
    // A new file shows no one more while it is written than once it is there.
    ASSERT_TRUE(QFile::remove(path));
    TextFileWriter writer(files_, path);
    EXPECT_EQ(ModeBeside(name), 0644u);
    writer.Commit();
    EXPECT_EQ(ModeOf(path), 0644u);
}

// A link is followed: the file it leads to is replaced and the link stays a link. Another name
// of the same file (a hard link) goes on naming the old file.
TEST_F(TextFileWriterTest, LinksAreFollowedAndOtherNamesKeepTheOldText) {
    const QString target = PathOf(u"target.txt"_s);
    const QString link = PathOf(u"link.txt"_s);
    Write(target, "old");
    ASSERT_TRUE(QFile::link(target, link));
    Save(files_, link, {u"via the link"_s});
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(Read(target), QByteArray("via the link"));

    const QString other = PathOf(u"other name.txt"_s);
    ASSERT_EQ(::link(QFile::encodeName(target).constData(), QFile::encodeName(other).constData()),
              0);
    Save(files_, target, {u"replaced"_s});
    EXPECT_EQ(Read(target), QByteArray("replaced"));
    EXPECT_EQ(Read(other), QByteArray("via the link"));

    const QString dangling = PathOf(u"dangling.txt"_s);
    ASSERT_TRUE(QFile::link(PathOf(u"made.txt"_s), dangling));
    Save(files_, dangling, {u"made"_s});
    EXPECT_TRUE(QFileInfo(dangling).isSymLink());
    EXPECT_EQ(Read(PathOf(u"made.txt"_s)), QByteArray("made"));
}

// A device, a pipe or a folder is never replaced by a file, and nothing waits on a pipe.
TEST_F(TextFileWriterTest, WhatIsNoOrdinaryFileIsRefusedAndLeftAlone) {
    const QString fifo = PathOf(u"pipe"_s);
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString full = MakeDeviceIn(dir_, u"full"_s, kFullDevice);
    const QString null = MakeDeviceIn(dir_, u"null"_s, kNullDevice);
    for (const QString& path : {fifo, full, null}) {
        if (path.isEmpty()) // making devices is not permitted here
            continue;
        struct stat before {};
        ASSERT_EQ(stat(QFile::encodeName(path).constData(), &before), 0);
        EXPECT_EQ(FailureOf([&] { Save(files_, path, {u"x"_s}); }),
                  path + u" is not an ordinary file"_s);
        struct stat after {};
        ASSERT_EQ(stat(QFile::encodeName(path).constData(), &after), 0);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_ino, before.st_ino);
    }
    EXPECT_EQ(FailureOf([&] { Save(files_, dir_.path(), {u"x"_s}); }),
              dir_.path() + u" is a folder, not a file"_s);
}

TEST_F(TextFileWriterTest, AReadOnlyFileIsNotReplaced) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    const QString path = PathOf(u"read-only.txt"_s);
    Write(path, "old");
    ASSERT_EQ(chmod(QFile::encodeName(path).constData(), 0444), 0);
    EXPECT_EQ(FailureOf([&] { Save(files_, path, {u"new"_s}); }), u"Permission denied"_s);
    EXPECT_EQ(Read(path), QByteArray("old"));
}
