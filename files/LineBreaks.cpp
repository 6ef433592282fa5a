#include "files/LineBreaks.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace {

// Each unit adds one for a CR or LF and takes two away for a CR followed by an LF. Summed in
// blocks small enough for an int, so that the compiler can vectorise the loop: this pass runs
// over whole files before decoding.
template <typename UnitAt>
qsizetype CountLone(qsizetype count, UnitAt unitAt, char16_t cr, char16_t lf) {
    if (count == 0)
        return 0;
    constexpr qsizetype kSumBlock = 4096;
    const qsizetype last = count - 1;
    qsizetype lone = 0;
    for (qsizetype i = 0; i < last;) {
        const qsizetype blockEnd = std::min(last, i + kSumBlock);
        int sum = 0;
        for (; i < blockEnd; ++i) {
            const int isCR = unitAt(i) == cr;
            const int isLF = unitAt(i) == lf;
            sum += isCR + isLF - 2 * (isCR & static_cast<int>(unitAt(i + 1) == lf));
        }
        lone += sum;
    }
    return lone + (unitAt(last) == cr) + (unitAt(last) == lf);
}

constexpr char16_t Swapped(char16_t unit) {
    return static_cast<char16_t>((unit >> 8) | (unit << 8));
}

} // namespace

qsizetype CountLoneLineBreaks(QByteArrayView eightBitText) {
    const char* bytes = eightBitText.data();
    return CountLone(
        eightBitText.size(),
        [bytes](qsizetype i) { return char16_t{static_cast<uchar>(bytes[i])}; }, u'\r', u'\n');
}

qsizetype CountLoneLineBreaksUtf16(QByteArrayView utf16Bytes, bool bigEndian) {
    const char* bytes = utf16Bytes.data();
    const auto unitAt = [bytes](qsizetype i) { return qFromUnaligned<char16_t>(bytes + 2 * i); };
    // Compare the units as they lie in memory, with CR and LF in the file's byte order.
    const bool swapped = bigEndian != (QSysInfo::ByteOrder == QSysInfo::BigEndian);
    return CountLone(utf16Bytes.size() / 2, unitAt, swapped ? Swapped(u'\r') : u'\r',
                     swapped ? Swapped(u'\n') : u'\n');
}

qsizetype CountLoneLineBreaks(QStringView text) {
    const QChar* units = text.data();
    return CountLone(
        text.size(), [units](qsizetype i) { return units[i].unicode(); }, u'\r', u'\n');
}

CrLfWriter::CrLfWriter(qsizetype expectedSize) {
    text_.resize(std::max<qsizetype>(expectedSize, 0));
}

// Each unit takes at most two places. With the expected size exact, room runs short only near
// the end, where the piece is written in parts that fit; growing is for a wrong guess.
void CrLfWriter::Write(QStringView piece) {
    while (!piece.isEmpty()) {
        const qsizetype fitting = std::min(piece.size(), Room() / 2);
        if (fitting == 0) {
            Grow();
            continue;
        }
        WriteWithinRoom(piece.first(fitting));
        piece = piece.sliced(fitting);
    }
}

void CrLfWriter::WriteWithinRoom(QStringView piece) {
    QChar* out =
        CopyWithCrLf(piece.data(), piece.data() + piece.size(), text_.data() + size_, afterCR_);
    size_ = out - text_.constData();
}

void CrLfWriter::Grow() {
    text_.resize(text_.size() + std::max<qsizetype>(16, text_.size() / 8));
}

QString CrLfWriter::Finish() && {
    text_.truncate(size_);
    return std::move(text_);
}

QString WithCrLfLineBreaks(QStringView text) {
    CrLfWriter writer(text.size() + CountLoneLineBreaks(text));
    writer.Write(text);
    return std::move(writer).Finish();
}
