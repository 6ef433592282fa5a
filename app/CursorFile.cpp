#include "app/CursorFile.h"

#include "platform/Failure.h"

#include <QFile>
#include <QImageReader>
#include <QPixmap>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {

// A cursor file is an icon file of type 2 whose first directory entry carries the hot spot
// where an icon keeps its planes and bit count.
QPoint HotSpotOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray head = file.read(6 + 16);
    if (head.size() < 22)
        return {};
    const auto word = [&](int at) {
        return qFromLittleEndian<quint16>(reinterpret_cast<const uchar*>(head.constData()) + at);
    };
    if (word(0) != 0 || word(2) != 2)
        return {};
    return QPoint(word(6 + 4), word(6 + 6));
}

} // namespace

QCursor LoadCursorFile(const QString& path) {
    QImageReader reader(path);
    QImage image;
    if (!reader.read(&image))
        throw Failure(u"Invalid picture ("_s + reader.errorString() + u")"_s);
    const QPoint hotSpot = HotSpotOf(path);
    const bool inside = image.rect().contains(hotSpot);
    return QCursor(QPixmap::fromImage(image), inside ? hotSpot.x() : 0, inside ? hotSpot.y() : 0);
}
