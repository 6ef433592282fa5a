#include "files/TextFileWriter.h"

#include "files/Utf8.h"

#include <QByteArray>

namespace {

// Encoded this much at a time, so that a large text is never held twice over.
constexpr qsizetype kPieceUnits = qsizetype{1} << 16;

} // namespace

TextFileWriter::TextFileWriter(const FileSystem& fileSystem, const QString& path,
                               TextFileEncoding encoding)
    : file_(fileSystem.StartWriting(path)),
      encoder_(encoding == TextFileEncoding::System ? QStringEncoder::System
                                                    : QStringEncoder::Utf8) {
    if (encoding == TextFileEncoding::Utf8WithBom)
        file_->Write(kUtf8Bom);
}

void TextFileWriter::Write(QStringView text) {
    for (qsizetype from = 0; from < text.size(); from += kPieceUnits) {
        const QByteArray bytes =
            encoder_.encode(text.sliced(from, std::min(kPieceUnits, text.size() - from)));
        file_->Write(bytes);
    }
}

void TextFileWriter::Commit() {
    // A lone high surrogate at the very end still owes its replacement.
    const QByteArray rest = encoder_.encode(QStringView());
    if (!rest.isEmpty())
        file_->Write(rest);
    file_->Commit();
}
