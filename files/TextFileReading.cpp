#include "files/TextFileReading.h"

#include "files/FileDecoding.h"
#include "files/TextDecoding.h"
#include "platform/Failure.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kPipeReadBytes = 1 << 20;

[[noreturn]] void ThrowTooLarge() {
    throw Failure(u"The file is too large to load (over 1 GiB)"_s);
}

void CheckIsLoadableFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        throw Failure(u"File not found"_s);
    if (info.isDir())
        throw Failure(u"%1 is a folder, not a file"_s.arg(path));
    if (info.size() > kMaxTextFileBytes)
        ThrowTooLarge();
}

// QFile's wording is the system's ("Permission denied", "Input/output error" ...).
[[noreturn]] void ThrowReadError(const QFile& file) {
    throw Failure(file.errorString());
}

// A regular file is read at the size it has now: one allocation, no growth.
QByteArray ReadRegularFile(QFile& file) {
    const qint64 size = file.size();
    if (size > kMaxTextFileBytes)
        ThrowTooLarge();
    QByteArray bytes(size, Qt::Uninitialized);
    const qint64 read = file.read(bytes.data(), size);
    if (read < 0)
        ThrowReadError(file);
    bytes.truncate(read);
    return bytes;
}

// A pipe or device has no size to go by: read until it ends, but never past the limit (a device
// such as /dev/zero never ends).
QByteArray ReadStream(QFile& file) {
    QByteArray bytes;
    for (;;) {
        const QByteArray piece = file.read(kPipeReadBytes);
        if (piece.isEmpty()) {
            if (file.error() != QFileDevice::NoError)
                ThrowReadError(file);
            return bytes;
        }
        if (bytes.size() + piece.size() > kMaxTextFileBytes)
            ThrowTooLarge();
        bytes.append(piece);
    }
}

void Open(QFile& file) {
    CheckIsLoadableFile(file.fileName());
    if (!file.open(QIODevice::ReadOnly))
        ThrowReadError(file);
}

QByteArray ReadWholeFile(QFile& file) {
    return file.isSequential() ? ReadStream(file) : ReadRegularFile(file);
}

// Rich text and UTF-16 are decoded from the whole file; everything else in passes over chunks,
// which is what keeps large files cheap.
bool NeedsWholeFile(QFile& file) {
    const QByteArray start = file.peek(5);
    return file.isSequential() || start.startsWith("{\\rtf") || start.startsWith("\xFF\xFE") ||
           start.startsWith("\xFE\xFF");
}

} // namespace

QString ReadTextFile(const QString& path) {
    QFile file(path);
    Open(file);
    return NeedsWholeFile(file) ? DecodeText(ReadWholeFile(file)) : DecodeFileInPasses(file);
}

QString ReadExactTextFile(const QString& path) {
    QFile file(path);
    Open(file);
    return DecodeExactUtf8(ReadWholeFile(file));
}
