#include "files/TextFileReading.h"

#include "platform/Failure.h"

#include <QFile>

// Placeholder until decoding lands: UTF-8 only.
QString ReadTextFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(file.errorString());
    return QString::fromUtf8(file.readAll());
}
