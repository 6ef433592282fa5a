#include "app/CursorFile.h"

#include "platform/Failure.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// A cursor file: an icon file of type 2 whose directory entry holds the hot spot.
QByteArray CursorBytes(int hotX, int hotY) {
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::black);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(QImageWriter(&buffer, "ico").write(image));
    bytes[2] = 2;
    bytes[10] = static_cast<char>(hotX);
    bytes[12] = static_cast<char>(hotY);
    bytes[11] = bytes[13] = 0;
    return bytes;
}

} // namespace

TEST(CursorFileTest, ReadsThePictureAndItsHotSpot) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"HAND-M.CUR"_s);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(CursorBytes(5, 1));
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
