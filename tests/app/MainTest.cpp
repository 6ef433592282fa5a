#include "app/Main.h"

#include "MemoryFileSystem.h"
#include "platform/QtFileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(NormalizePathTest, CollapsesDoubledSeparatorsKeepingALeadingPair) {
    const std::pair<QString, QString> examples[] = {
        {u"C:\\\\a.txt"_s, u"C:\\a.txt"_s},
        {u"C:\\data\\\\\\\\b.txt"_s, u"C:\\data\\\\b.txt"_s},
        {u"\\\\server\\share\\\\c.txt"_s, u"\\\\server\\share\\c.txt"_s},
        {u"\\\\\\server\\share"_s, u"\\\\server\\share"_s},
        {u"\\dir\\d.txt"_s, u"\\\\dir\\d.txt"_s},
        {u""_s, u""_s},
        {u"\\"_s, u"\\\\"_s},
        {u"C:\\a\\\\\\b"_s, u"C:\\a\\\\b"_s},
        {u"C:\\plain\\e.txt"_s, u"C:\\plain\\e.txt"_s},
    };
    for (const auto& [input, expected] : examples) {
        EXPECT_EQ(Main::NormalizePath(input, u'\\'), expected) << input.toStdString();
        QString slashed = input;
        QString slashedExpected = expected;
        slashed.replace(u'\\', u'/');
        slashedExpected.replace(u'\\', u'/');
        EXPECT_EQ(Main::NormalizePath(slashed, u'/'), slashedExpected) << slashed.toStdString();
    }
}

TEST(FileExistsTest, AnswersOnlyForNamesThatAreReallyThere) {
    QTemporaryDir dir;
    const QString file = dir.filePath(u"a.txt"_s);
    QFile(file).open(QIODevice::WriteOnly);
    QFile::setPermissions(file, QFileDevice::ReadOwner);
    const QtFileSystem fileSystem;
    EXPECT_TRUE(Main::FileExists(fileSystem, file)) << "a read-only file exists";
    EXPECT_TRUE(Main::FileExists(fileSystem, dir.path())) << "so does a folder";
    EXPECT_FALSE(Main::FileExists(fileSystem, file + u" "_s));
    EXPECT_FALSE(Main::FileExists(fileSystem, QString()));
    EXPECT_FALSE(Main::FileExists(fileSystem, dir.filePath(u"*.txt"_s)));
    EXPECT_FALSE(Main::FileExists(fileSystem, dir.filePath(u"b.txt"_s)));
    QFile(dir.filePath(u"blank "_s)).open(QIODevice::WriteOnly);
    EXPECT_TRUE(Main::FileExists(fileSystem, dir.filePath(u"blank "_s)));
}

// The program's own files are looked up beside it first, then in the shared data folder of an
// installed program; a file found nowhere is named where it was first looked for.
TEST(ProgramFilePathTest, PrefersBesideTheProgramThenTheInstalledDataFolder) {
    struct Case {
        const char* name;
        bool beside;
        bool installed;
        bool expectInstalled;
    };
    const Case cases[] = {
        {"only beside the program", true, false, false},
        {"only in share/tarnwick", false, true, true},
        {"in both places", true, true, false},
        {"in neither", false, false, false},
    };
    for (const QString& relative : {u"Samples"_s, u"HAND-M.CUR"_s, u"x/o.cjs"_s}) {
        for (const Case& c : cases) {
            QTemporaryDir prefix;
            const QDir root(prefix.path());
            const auto place = [&](const QString& folder) {
                const QString path = root.filePath(folder + u"/"_s + relative);
                root.mkpath(QFileInfo(path).path());
                if (relative == u"Samples")
                    root.mkpath(path);
                else
                    QFile(path).open(QIODevice::WriteOnly);
            };
            if (c.beside)
                place(u"bin"_s);
            if (c.installed)
                place(u"share/tarnwick"_s);
            const QtFileSystem fileSystem(root.filePath(u"bin"_s));
            const QString expected = QDir::toNativeSeparators(
                root.filePath((c.expectInstalled ? u"share/tarnwick/"_s : u"bin/"_s) + relative));
            EXPECT_EQ(Main::ProgramFilePath(fileSystem, relative), expected)
                << relative.toStdString() << ": " << c.name;
        }
    }
}

TEST(ProgramFilePathTest, AProgramInTheRootKeepsTheJoinAsItIs) {
    const QtFileSystem fileSystem(u"/"_s);
    const QString sep = QDir::separator();
    EXPECT_EQ(Main::ProgramFilePath(fileSystem, u"no such file here"_s),
              QDir::toNativeSeparators(u"/"_s) + sep + u"no such file here"_s);
}

// What the system will not tell about counts as there, so that what follows says why it fails
// rather than "File not found".
TEST(FileExistsTest, APathTheSystemWillNotTellAboutCountsAsThere) {
    MemoryFileSystem files;
    files.files[u"/a.txt"_s] = "a";
    files.special = {u"/pipe"_s};
    files.unreachable = {u"/locked/b.txt"_s};
    EXPECT_TRUE(Main::FileExists(files, u"/a.txt"_s));
    EXPECT_TRUE(Main::FileExists(files, u"/pipe"_s));
    EXPECT_TRUE(Main::FileExists(files, u"/locked/b.txt"_s));
    EXPECT_FALSE(Main::FileExists(files, u"/b.txt"_s));
    EXPECT_FALSE(Main::FileExists(files, u"/*.txt"_s));
}

TEST(FileExistsTest, ALinkIsThereEvenWhenItLeadsNowhere) {
    QTemporaryDir dir;
    const QString link = dir.filePath(u"link"_s);
    ASSERT_TRUE(QFile::link(dir.filePath(u"nothing"_s), link));
    EXPECT_TRUE(Main::FileExists(QtFileSystem(), link));
}
