#include "platform/FileSelection.h"

#include "platform/Failure.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The expected selection string, written with "/" and a "|" for each NUL.
QString Expected(const QString& form) {
    return QDir::toNativeSeparators(form).replace(u'|', QChar(u'\0'));
}

} // namespace

TEST(FileSelectionTest, NothingChosenIsEmptyAndOneFileIsItsFullPath) {
    EXPECT_EQ(JoinedSelection({}), QString());
    EXPECT_EQ(JoinedSelection({u"/home/ann/a.txt"_s}), Expected(u"/home/ann/a.txt"_s));
}

TEST(FileSelectionTest, SeveralFilesAreTheirFolderThenTheirNamesInTheGivenOrder) {
    const QString joined =
        JoinedSelection({u"/home/ann/c.txt"_s, u"/home/ann/a.txt"_s, u"/home/ann/b c.txt"_s});
    EXPECT_EQ(joined, Expected(u"/home/ann|c.txt|a.txt|b c.txt"_s));
    EXPECT_FALSE(joined.endsWith(QChar(u'\0')));
    EXPECT_EQ(joined.split(QChar(u'\0')).size(), 4);
}

TEST(FileSelectionTest, ARootFolderKeepsItsSeparator) {
    EXPECT_EQ(JoinedSelection({u"/a.txt"_s, u"/b.txt"_s}), Expected(u"/|a.txt|b.txt"_s));
    EXPECT_EQ(JoinedSelection({u"C:/a.txt"_s, u"C:/b.txt"_s}), Expected(u"C:/|a.txt|b.txt"_s));
}

TEST(FileSelectionTest, FilesFromDifferentFoldersAreNamedFromTheFolderTheyShare) {
    EXPECT_EQ(JoinedSelection({u"/home/ann/x/a.txt"_s, u"/home/ann/y/b.txt"_s}),
              Expected(u"/home/ann|x/a.txt|y/b.txt"_s));
    EXPECT_EQ(JoinedSelection({u"/home/ann2/a.txt"_s, u"/home/ann/b.txt"_s}),
              Expected(u"/home|ann2/a.txt|ann/b.txt"_s))
        << "a folder is shared only as a whole name, not as a common prefix of letters";
}

TEST(FileSelectionTest, FilesThatShareNoFolderAreRefusedWithAClearMessage) {
    try {
        JoinedSelection({u"C:/a.txt"_s, u"D:/b.txt"_s});
        FAIL() << "expected a failure";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.Description(), u"The chosen files must be in one folder"_s);
    }
}
