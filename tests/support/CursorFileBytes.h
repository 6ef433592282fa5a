#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>

#include <gtest/gtest.h>

// A 16 × 16 cursor file: an icon file of type 2 whose directory entry holds the hot spot.
inline QByteArray CursorFileBytes(int hotX, int hotY) {
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
