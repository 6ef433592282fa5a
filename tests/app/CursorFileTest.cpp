#include "app/CursorFile.h"

#include "CursorFileBytes.h"
#include "MemoryFileSystem.h"
#include "platform/Failure.h"
#include "platform/QtFileSystem.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(CursorFileTest, ReadsThePictureAndItsHotSpot) {
    MemoryFileSystem files;
    files.files[u"/p/HAND-M.CUR"_s] = CursorFileBytes(5, 1);
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
    files.files[u"/p/broken.cur"_s] = CursorFileBytes(1, 1);
    files.failReadAfter = 1 << 21;
    for (const QString& path :
         {u"/p/text.cur"_s, u"/p/huge.cur"_s, u"/p/pipe.cur"_s, u"/p/missing.cur"_s}) {
        EXPECT_THROW(LoadCursorFile(files, path), Failure) << path.toStdString();
    }
    files.failReadAfter = 10;
    EXPECT_THROW(LoadCursorFile(files, u"/p/broken.cur"_s), Failure);
}

TEST(CursorFileTest, TheShippedHandPointsWithItsIndexFinger) {
    const QCursor cursor =
        LoadCursorFile(QtFileSystem(), QStringLiteral(TARNWICK_SOURCE_DIR "/dist/HAND-M.CUR"));
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.pixmap().size(), QSize(32, 32));
    EXPECT_EQ(cursor.hotSpot(), QPoint(5, 0));
    const QImage image = cursor.pixmap().toImage();
    EXPECT_EQ(image.pixelColor(cursor.hotSpot()), QColor(Qt::black)) << "the fingertip's outline";
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0) << "transparent around the hand";
}
