#include "files/TextFileReading.h"
#include "platform/QtFileSystem.h"

#include "DeviceNode.h"
#include "FailureOf.h"
#include "FileIn.h"
#include "MemoryFileSystem.h"
#include "platform/Failure.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

class TextFileReadingTest : public ::testing::Test {
protected:
    QString PathOf(const QString& name) const { return dir_.filePath(name); }

    QString WriteFile(const QString& name, QByteArrayView bytes) const {
        return WriteFileIn(dir_, name, bytes);
    }

    QTemporaryDir dir_;
};

} // namespace

TEST_F(TextFileReadingTest, ReadsDecodedTextAndExactText) {
    const QString path = WriteFile(u"one.txt"_s, QByteArray("\xEF\xBB\xBF") + "a\nb\r\n\x93");
    // The BOM makes it UTF-8, so 0x93 is invalid rather than a Windows-1252 quote.
    EXPECT_EQ(ReadTextFile(QtFileSystem(), path), u"a\r\nb\r\n\uFFFD"_s);
    EXPECT_EQ(ReadExactTextFile(QtFileSystem(), path), u"\uFEFFa\nb\r\n\uFFFD"_s);
    EXPECT_EQ(ReadTextFile(QtFileSystem(), WriteFile(u"empty.txt"_s, "")), u""_s);
    EXPECT_EQ(ReadTextFile(QtFileSystem(), WriteFile(u"rich.rtf"_s, "{\\rtf1 x\\par}")),
              u"x\r\n"_s);
}

TEST_F(TextFileReadingTest, MissingFileAndFolderAreReportedClearly) {
    const QString missing = PathOf(u"nothing.txt"_s);
    EXPECT_EQ(FailureOf([&] { ReadTextFile(QtFileSystem(), missing); }), u"File not found"_s);
    EXPECT_EQ(FailureOf([&] { ReadExactTextFile(QtFileSystem(), missing); }), u"File not found"_s);
    EXPECT_EQ(FailureOf([&] { ReadTextFile(QtFileSystem(), dir_.path()); }),
              dir_.path() + u" is a folder, not a file"_s);
}

TEST_F(TextFileReadingTest, UnreadableFileIsReportedAsPermissionDenied) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root can read any file";
    const QString path = WriteFile(u"locked.txt"_s, "secret");
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::Permissions{}));
    EXPECT_EQ(FailureOf([&] { ReadTextFile(QtFileSystem(), path); }), u"Permission denied"_s);
}

// A sparse file: the size is real but nothing is written, so the test stays fast.
TEST_F(TextFileReadingTest, FileOverTheLimitIsRefusedBeforeReading) {
    QFile file(PathOf(u"huge.txt"_s));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(kMaxTextFileBytes + 1));
    file.close();
    EXPECT_EQ(FailureOf([&] { ReadTextFile(QtFileSystem(), file.fileName()); }),
              u"The file is too large to load (over 1 GiB)"_s);
    EXPECT_EQ(FailureOf([&] { ReadExactTextFile(QtFileSystem(), file.fileName()); }),
              u"The file is too large to load (over 1 GiB)"_s);
}

// Only ordinary files are read: a device, or a pipe that no one writes to, would otherwise keep
// the load waiting for good, or feed it without end.
TEST_F(TextFileReadingTest, AnythingButAnOrdinaryFileIsRefusedWithoutWaiting) {
    const QString fifo = PathOf(u"pipe"_s);
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString null = MakeDeviceIn(dir_, u"null"_s, kNullDevice);
    const QString zero = MakeDeviceIn(dir_, u"zero"_s, kZeroDevice);
    for (const QString& path : {fifo, null, zero}) {
        if (path.isEmpty()) // making devices is not permitted here
            continue;
        EXPECT_EQ(FailureOf([&] { ReadTextFile(QtFileSystem(), path); }),
                  path + u" is not an ordinary file"_s);
        EXPECT_EQ(FailureOf([&] { ReadExactTextFile(QtFileSystem(), path); }),
                  path + u" is not an ordinary file"_s);
    }
}

TEST_F(TextFileReadingTest, LinksThatLeadNowhereAreSaidToDoSo) {
    const QString dangling = PathOf(u"dangling"_s);
    const QString loop = PathOf(u"loop"_s);
    ASSERT_TRUE(QFile::link(PathOf(u"nothing"_s), dangling));
    ASSERT_TRUE(QFile::link(loop, loop));
    EXPECT_EQ(FailureOf([&] { ReadTextFile(QtFileSystem(), dangling); }),
              dangling + u" is a link to a file that does not exist"_s);
    EXPECT_EQ(FailureOf([&] { ReadTextFile(QtFileSystem(), loop); }),
              loop + u" cannot be opened: its links lead round in a loop"_s);
    const QString text = WriteFile(u"text.txt"_s, "linked\n");
    ASSERT_TRUE(QFile::link(text, PathOf(u"good link"_s)));
    EXPECT_EQ(ReadTextFile(QtFileSystem(), PathOf(u"good link"_s)), u"linked\r\n"_s);
}

// The system's own files say they are empty and are not.
TEST_F(TextFileReadingTest, AFileIsReadToItsEndWhateverSizeItGives) {
    if (!QFile::exists(u"/proc/self/status"_s))
        GTEST_SKIP() << "no /proc here";
    EXPECT_TRUE(ReadTextFile(QtFileSystem(), u"/proc/self/status"_s).contains(u"Name:"_s));
    EXPECT_TRUE(ReadExactTextFile(QtFileSystem(), u"/proc/self/status"_s).contains(u"Name:"_s));
}

namespace {

class FaultyFilesTest : public ::testing::Test {
protected:
    QString Read(const QString& path) { return ReadTextFile(files, path); }
    QString FailureOfReading(const QString& path) {
        return FailureOf([&] { Read(path); });
    }

    MemoryFileSystem files;
};

} // namespace

TEST_F(FaultyFilesTest, ReadsThatStopShortOrFailAreHandled) {
    QByteArray text;
    for (int i = 0; i < 5000; ++i)
        text.append("line \xC3\xA9 ").append(QByteArray::number(i)).append('\n');
    const QString expected = QString::fromUtf8(text).replace(u"\n"_s, u"\r\n"_s);
    files.files[u"/a.txt"_s] = text;
    files.readPieceBytes = 7; // a pipe or a network file system hands out little at a time
    EXPECT_EQ(Read(u"/a.txt"_s), expected);
    files.sizeUnknown = true;
    EXPECT_EQ(Read(u"/a.txt"_s), expected) << "a file that says it is empty is still read";
    files.failReadAfter = 1000;
    EXPECT_EQ(FailureOfReading(u"/a.txt"_s), u"Input/output error"_s);
}

TEST_F(FaultyFilesTest, WhatCannotBeOpenedSaysWhy) {
    files.files[u"/locked.txt"_s] = "x";
    files.forbidden = {u"/locked.txt"_s};
    files.special = {u"/device"_s};
    files.unreachable = {u"/hidden/a.txt"_s};
    EXPECT_EQ(FailureOfReading(u"/locked.txt"_s), u"Permission denied"_s);
    EXPECT_EQ(FailureOfReading(u"/device"_s), u"/device is not an ordinary file"_s);
    EXPECT_EQ(FailureOfReading(u"/hidden/a.txt"_s), u"Permission denied"_s);
    EXPECT_EQ(FailureOfReading(u"/missing.txt"_s), u"File not found"_s);
}
