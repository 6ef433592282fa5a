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

// Each row: files as a dialog's list gives them, what its name box says, and the order that
// comes back.
TEST(FileSelectionTest, PickedFilesComeInTheOrderTheNameBoxNamesThem) {
    const QStringList sorted{u"/f/a.txt"_s, u"/f/b c.txt"_s, u"/f/c.txt"_s};
    const struct {
        const char* what;
        QString nameBox;
        QStringList ordered;
    } rows[] = {
        {"names typed or picked out of order",
         u"\"c.txt\" \"a.txt\" \"b c.txt\""_s,
         {u"/f/c.txt"_s, u"/f/a.txt"_s, u"/f/b c.txt"_s}},
        {"a name the list lacks is passed over, a file the box lacks comes last",
         u"\"c.txt\" \"gone.txt\" \"b c.txt\""_s,
         {u"/f/c.txt"_s, u"/f/b c.txt"_s, u"/f/a.txt"_s}},
        {"full paths in the box",
         u"\"/f/b c.txt\" \"/f/a.txt\" \"c.txt\""_s,
         {u"/f/b c.txt"_s, u"/f/a.txt"_s, u"/f/c.txt"_s}},
        {"an empty box keeps the list's order", QString(), sorted},
        {"a name matches a whole file name only",
         u"\"c.txt\" \"b c.txt\" \"a.txt\""_s,
         {u"/f/c.txt"_s, u"/f/b c.txt"_s, u"/f/a.txt"_s}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(InNamedOrder(sorted, row.nameBox), row.ordered) << row.what;
    EXPECT_EQ(InNamedOrder({u"/f/only.txt"_s}, u"only.txt"_s), QStringList{u"/f/only.txt"_s});
}
