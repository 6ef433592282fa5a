// A file's bytes decoded whole and in chunks of any size must give the same text, as loaded and
// exactly; exactly they are what Qt's decoder makes of the whole, and valid UTF-8 as loaded is
// that with every line break as CR LF.
#include "FuzzInput.h"
#include "files/TextDecoding.h"

#include <QString>
#include <QStringDecoder>

#include <cstdint>
#include <cstdlib>

namespace {

QString WithCrLf(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    return text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
}

// Qt's decoder on the whole, a byte-order mark kept as the character it is.
QString Utf8KeepingAMark(QByteArrayView bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return utf8(bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    // The first byte picks the chunk size; the rest is the file.
    const qsizetype chunk = 1 + data[0] % 64;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data) + 1,
                               static_cast<qsizetype>(size - 1));
    const QString whole = DecodeText(bytes, bytes.size() + 1);
    Check(DecodeText(bytes, chunk) == whole);
    const QString exact = DecodeExactUtf8(bytes, bytes.size() + 1);
    Check(DecodeExactUtf8(bytes, chunk) == exact);
    Check(exact == Utf8KeepingAMark(bytes));
    const bool marked = bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFF\xFE") ||
                        bytes.startsWith("\xFE\xFF") || bytes.startsWith("{\\rtf");
    if (!marked && bytes.isValidUtf8())
        Check(whole == WithCrLf(QString::fromUtf8(bytes)));
    return 0;
}
