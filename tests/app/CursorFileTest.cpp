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

TEST(CursorFileTest, TheShippedHandPointsWithItsIndexFinger) {
    const QCursor cursor = LoadCursorFile(QStringLiteral(TARNWICK_SOURCE_DIR "/dist/HAND-M.CUR"));
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.pixmap().size(), QSize(32, 32));
    EXPECT_EQ(cursor.hotSpot(), QPoint(5, 0));
    const QImage image = cursor.pixmap().toImage();
    EXPECT_EQ(image.pixelColor(cursor.hotSpot()), QColor(Qt::black)) << "the fingertip's outline";
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0) << "transparent around the hand";
}
