#include "app/CursorFile.h"

#include "platform/Failure.h"

#include <QBuffer>
#include <QImageReader>
#include <QPixmap>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {

// Cursors are a few kilobytes; a file far larger is none.
constexpr qint64 kMaxCursorBytes = qint64{1} << 20;

// A cursor file is an icon file of type 2 whose first directory entry carries the hot spot
// where an icon keeps its planes and bit count.
QPoint HotSpotOf(const QByteArray& bytes) {
    if (bytes.size() < 6 + 16)
        return {};
    const auto word = [&](int at) {
        return qFromLittleEndian<quint16>(reinterpret_cast<const uchar*>(bytes.constData()) + at);
    };
    if (word(0) != 0 || word(2) != 2)
        return {};
    return QPoint(word(6 + 4), word(6 + 6));
}

} // namespace

QCursor LoadCursorFile(const FileSystem& fileSystem, const QString& path) {
    QByteArray bytes = ReadWholeFile(*fileSystem.OpenForReading(path), kMaxCursorBytes,
                                     u"Invalid picture (the file is far too large for a cursor)"_s);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "cur");
    reader.setDecideFormatFromContent(true);
    QImage image;
    if (!reader.read(&image))
        throw Failure(u"Invalid picture ("_s + reader.errorString() + u")"_s);
    const QPoint hotSpot = HotSpotOf(bytes);
    const bool inside = image.rect().contains(hotSpot);
    return QCursor(QPixmap::fromImage(image), inside ? hotSpot.x() : 0, inside ? hotSpot.y() : 0);
}
