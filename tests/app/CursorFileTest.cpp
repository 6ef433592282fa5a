#include "app/CursorFile.h"

#include "MemoryFileSystem.h"
#include "platform/Failure.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

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
    MemoryFileSystem files;
    files.files[u"/p/HAND-M.CUR"_s] = CursorBytes(5, 1);
    const QCursor cursor = LoadCursorFile(files, u"/p/HAND-M.CUR"_s);
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.hotSpot(), QPoint(5, 1));
    EXPECT_EQ(cursor.pixmap().size(), QSize(16, 16));
    files.readPieceBytes = 3;
    EXPECT_EQ(LoadCursorFile(files, u"/p/HAND-M.CUR"_s).hotSpot(), QPoint(5, 1))
        << "read a few bytes at a time";
}

TEST(CursorFileTest, WhatIsNoCursorFailsWithoutWaiting) {
    MemoryFileSystem files;
    files.files[u"/p/text.cur"_s] = "not a picture at all";
    files.files[u"/p/huge.cur"_s] = QByteArray(2 << 20, 'x');
    files.special = {u"/p/pipe.cur"_s};
    files.files[u"/p/broken.cur"_s] = CursorBytes(1, 1);
    files.failReadAfter = 1 << 21;
    for (const QString& path :
         {u"/p/text.cur"_s, u"/p/huge.cur"_s, u"/p/pipe.cur"_s, u"/p/missing.cur"_s}) {
        EXPECT_THROW(LoadCursorFile(files, path), Failure) << path.toStdString();
    }
    files.failReadAfter = 10;
    EXPECT_THROW(LoadCursorFile(files, u"/p/broken.cur"_s), Failure);
}
