#include "files/TextFileReading.h"

#include "platform/Failure.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

class TextFileReadingTest : public ::testing::Test {
protected:
    QString PathOf(const QString& name) const { return dir_.filePath(name); }

    QString WriteFile(const QString& name, QByteArrayView bytes) const {
        QFile file(PathOf(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), bytes.size());
        return file.fileName();
    }

    // The description a failing read gives, or "no failure".
    static QString FailureOf(const std::function<void()>& read) {
        try {
            read();
        } catch (const Failure& failure) {
            return failure.Description();
        }
        return u"no failure"_s;
    }

    QTemporaryDir dir_;
};

} // namespace

TEST_F(TextFileReadingTest, ReadsDecodedTextAndExactText) {
    const QString path = WriteFile(u"one.txt"_s, QByteArray("\xEF\xBB\xBF") + "a\nb\r\n\x93");
    // The BOM makes it UTF-8, so 0x93 is invalid rather than a Windows-1252 quote.
    EXPECT_EQ(ReadTextFile(path), u"a\r\nb\r\n\uFFFD"_s);
    EXPECT_EQ(ReadExactTextFile(path), u"\uFEFFa\nb\r\n\uFFFD"_s);
    EXPECT_EQ(ReadTextFile(WriteFile(u"empty.txt"_s, "")), u""_s);
    EXPECT_EQ(ReadTextFile(WriteFile(u"rich.rtf"_s, "{\\rtf1 x\\par}")), u"x\r\n"_s);
}

TEST_F(TextFileReadingTest, MissingFileAndFolderAreReportedClearly) {
    const QString missing = PathOf(u"nothing.txt"_s);
    EXPECT_EQ(FailureOf([&] { ReadTextFile(missing); }), u"File not found"_s);
    EXPECT_EQ(FailureOf([&] { ReadExactTextFile(missing); }), u"File not found"_s);
    EXPECT_EQ(FailureOf([&] { ReadTextFile(dir_.path()); }),
              dir_.path() + u" is a folder, not a file"_s);
}

TEST_F(TextFileReadingTest, UnreadableFileIsReportedAsPermissionDenied) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root can read any file";
    const QString path = WriteFile(u"locked.txt"_s, "secret");
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::Permissions{}));
    EXPECT_EQ(FailureOf([&] { ReadTextFile(path); }), u"Permission denied"_s);
}

// A sparse file: the size is real but nothing is written, so the test stays fast.
TEST_F(TextFileReadingTest, FileOverTheLimitIsRefusedBeforeReading) {
    QFile file(PathOf(u"huge.txt"_s));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(kMaxTextFileBytes + 1));
    file.close();
    EXPECT_EQ(FailureOf([&] { ReadTextFile(file.fileName()); }),
              u"The file is too large to load (over 1 GiB)"_s);
    EXPECT_EQ(FailureOf([&] { ReadExactTextFile(file.fileName()); }),
              u"The file is too large to load (over 1 GiB)"_s);
}

// A device has no size to check beforehand; it is read as a stream.
TEST_F(TextFileReadingTest, DeviceWithoutSizeIsReadToItsEnd) {
    if (!QFile::exists(u"/dev/null"_s))
        GTEST_SKIP() << "no /dev/null here";
    EXPECT_EQ(ReadTextFile(u"/dev/null"_s), u""_s);
}
