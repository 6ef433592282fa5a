#include "platform/FileNames.h"

#include <filesystem>
#include <system_error>

namespace FileNames {

namespace {

constexpr char16_t kFirstStrayByte = 0xDC80;
constexpr char16_t kLastStrayByte = 0xDCFF;

// How long the UTF-8 sequence that starts with `lead` would be; 0 for no lead byte at all.
qsizetype SequenceLength(uchar lead) {
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 0;
}

bool IsStrayByte(QStringView name, qsizetype i) {
    const char16_t unit = name[i].unicode();
    return unit >= kFirstStrayByte && unit <= kLastStrayByte &&
           (i == 0 || !name[i - 1].isHighSurrogate());
}

} // namespace

QString Decode(QByteArrayView bytes) {
    if (bytes.isValidUtf8())
        return QString::fromUtf8(bytes);
    QString name;
    qsizetype validFrom = 0;
    for (qsizetype i = 0; i < bytes.size();) {
        const qsizetype length = SequenceLength(static_cast<uchar>(bytes[i]));
        if (length > 0 && i + length <= bytes.size() && bytes.sliced(i, length).isValidUtf8()) {
            i += length;
            continue;
        }
        name += QString::fromUtf8(bytes.sliced(validFrom, i - validFrom));
        name += QChar(kFirstStrayByte - 0x80 + static_cast<uchar>(bytes[i]));
        validFrom = ++i;
    }
    return name + QString::fromUtf8(bytes.sliced(validFrom));
}

QByteArray Encode(QStringView name) {
    QByteArray bytes;
    qsizetype validFrom = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (!IsStrayByte(name, i))
            continue;
        bytes += name.sliced(validFrom, i - validFrom).toUtf8();
        bytes += static_cast<char>(name[i].unicode() - kFirstStrayByte + 0x80);
        validFrom = i + 1;
    }
    return bytes + name.sliced(validFrom).toUtf8();
}

QString Shown(QStringView name) {
    QString shown = name.toString();
    for (qsizetype i = 0; i < shown.size(); ++i)
        if (IsStrayByte(shown, i))
            shown[i] = QChar::ReplacementCharacter;
    return shown;
}

QString CurrentFolder() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    return error ? QString() : Decode(QByteArrayView(folder.native()));
}

} // namespace FileNames
