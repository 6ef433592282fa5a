#include "app/CursorFile.h"

#include "CursorFileBytes.h"
#include "platform/Failure.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(CursorFileTest, ReadsThePictureAndItsHotSpot) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"HAND-M.CUR"_s);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(CursorFileBytes(5, 1));
    file.close();
    const QCursor cursor = LoadCursorFile(path);
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.hotSpot(), QPoint(5, 1));
    EXPECT_EQ(cursor.pixmap().size(), QSize(16, 16));

    file.open(QIODevice::WriteOnly);
    file.write("not a picture at all");
    file.close();
    EXPECT_THROW(LoadCursorFile(path), Failure);
}
