#pragma once

#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Writes `bytes` to a file called `name` in `dir`, replacing it, and gives the file's path.
inline QString WriteFileIn(const QTemporaryDir& dir, const QString& name, QByteArrayView bytes) {
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << name.toStdString();
    file.write(bytes.data(), bytes.size());
    return file.fileName();
}
