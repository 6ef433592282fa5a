#include "platform/FolderUrl.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(FolderUrlTest, AQuotedFolderIsOpenedWithoutItsQuotes) {
    const QString folder = QDir::toNativeSeparators(u"/opt/tarnwick/Samples/"_s);
    const QUrl expected = QUrl::fromLocalFile(folder);
    EXPECT_EQ(FolderUrl(u'"' + folder + u'"'), expected);
    EXPECT_EQ(FolderUrl(folder), expected);
    EXPECT_TRUE(FolderUrl(u'"' + folder + u'"').isLocalFile());
}

TEST(FolderUrlTest, BlanksInTheFolderNameStayPartOfIt) {
    const QString folder = QDir::toNativeSeparators(u"/home/ann/my samples"_s);
    EXPECT_EQ(FolderUrl(u'"' + folder + u'"').toLocalFile(), QDir::fromNativeSeparators(folder));
    EXPECT_EQ(FolderUrl(u"\""_s).toLocalFile(), u"\""_s) << "a lone quote is no pair of quotes";
}
