#include "platform/InputFile.h"

#include "platform/Failure.h"

QByteArray ReadWholeFile(InputFile& file, qint64 maxBytes, const QString& tooLarge) {
    if (file.SizeHint() > maxBytes)
        throw Failure(tooLarge);
    QByteArray bytes;
    constexpr qsizetype kPiece = qsizetype{1} << 16;
    for (;;) {
        const qsizetype size = bytes.size();
        bytes.resize(size + kPiece);
        const auto read = static_cast<qsizetype>(
            file.Read(bytes.data() + size, static_cast<std::size_t>(kPiece)));
        bytes.truncate(size + read);
        if (read == 0)
            return bytes;
        if (bytes.size() > maxBytes)
            throw Failure(tooLarge);
    }
}
