#include "files/TextDecoding.h"

#include "files/LineBreaks.h"
#include "files/RtfText.h"
#include "files/Utf8.h"
#include "files/Windows1252.h"

#include <QStringDecoder>

#include <algorithm>
#include <vector>

namespace {

constexpr QByteArrayView kUtf16LEBom = "\xFF\xFE";
constexpr QByteArrayView kUtf16BEBom = "\xFE\xFF";
constexpr QByteArrayView kRichTextStart = "{\\rtf";

// Each encoding is decoded a chunk at a time without state carried between chunks: every chunk
// ends where decoding it alone gives the same as decoding the whole, so no character, and no
// replacement for a broken one, depends on where the chunks fall.

class Utf8Chunks {
public:
    static constexpr qsizetype kMaxSequence = 4;
    static constexpr qsizetype kAsciiLookBack = 64;

    qsizetype MaxUnits(qsizetype chunkBytes) const {
        return decoder_.requiredSpace(chunkBytes + kMaxSequence);
    }
    QChar* Decode(QByteArrayView chunk, QChar* out) { return decoder_.appendToBuffer(out, chunk); }

    // Before an ASCII byte even broken sequences decode alike in pieces and whole; failing one
    // near, before the first byte of a character, which is exact for valid UTF-8.
    static qsizetype ChunkEnd(QByteArrayView body, qsizetype offset, qsizetype chunkBytes) {
        const qsizetype end = offset + chunkBytes;
        if (end >= body.size())
            return body.size();
        for (qsizetype q = end; q > offset && q > end - kAsciiLookBack; --q)
            if (static_cast<uchar>(body[q]) < 0x80)
                return q;
        for (qsizetype q = end; q > offset && q > end - kMaxSequence; --q)
            if (!IsUtf8Continuation(body[q]))
                return q;
        // A chunk too short to hold the character: take it whole.
        qsizetype q = end;
        while (q < body.size() && q < end + kMaxSequence && IsUtf8Continuation(body[q]))
            ++q;
        return q;
    }

private:
    // The mark, if there was one, is already gone: a U+FEFF at a chunk's start is content.
    QStringDecoder decoder_{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                      QStringDecoder::Flag::ConvertInitialBom};
};

class Utf16Chunks {
public:
    explicit Utf16Chunks(bool bigEndian)
        : decoder_(bigEndian ? QStringDecoder::Utf16BE : QStringDecoder::Utf16LE,
                   QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom) {}

    qsizetype MaxUnits(qsizetype chunkBytes) const {
        return decoder_.requiredSpace(std::max<qsizetype>(chunkBytes, 2)) + 1;
    }
    // Only the last chunk can be odd. Qt drops a lone last byte; it is kept visible instead.
    QChar* Decode(QByteArrayView chunk, QChar* out) {
        out = decoder_.appendToBuffer(out, chunk.first(chunk.size() & ~qsizetype{1}));
        if (chunk.size() % 2 != 0)
            *out++ = QChar(QChar::ReplacementCharacter);
        return out;
    }

    // Between two code units (a surrogate pair may be cut: units are copied, not combined).
    static qsizetype ChunkEnd(QByteArrayView body, qsizetype offset, qsizetype chunkBytes) {
        const qsizetype end = offset + std::max<qsizetype>(chunkBytes & ~qsizetype{1}, 2);
        return std::min(end, body.size());
    }

private:
    QStringDecoder decoder_;
};

class Windows1252Chunks {
public:
    qsizetype MaxUnits(qsizetype chunkBytes) const { return chunkBytes; }
    QChar* Decode(QByteArrayView chunk, QChar* out) { return DecodeWindows1252(chunk, out); }
    static qsizetype ChunkEnd(QByteArrayView body, qsizetype offset, qsizetype chunkBytes) {
        return std::min(offset + chunkBytes, body.size());
    }
};

// Decodes `body` a chunk at a time and copies each chunk, with its line breaks as CR LF, into a
// string allocated once at `finalLength`: no copy of the whole text is made but the result.
template <typename Chunks>
QString DecodeInChunks(QByteArrayView body, qsizetype chunkBytes, qsizetype finalLength,
                       Chunks chunks) {
    chunkBytes = std::clamp<qsizetype>(chunkBytes, 1, std::max<qsizetype>(body.size(), 1));
    std::vector<QChar> scratch(static_cast<size_t>(chunks.MaxUnits(chunkBytes)));
    CrLfWriter writer(finalLength);
    for (qsizetype offset = 0; offset < body.size();) {
        const qsizetype end = chunks.ChunkEnd(body, offset, chunkBytes);
        const QChar* decodedEnd = chunks.Decode(body.sliced(offset, end - offset), scratch.data());
        writer.Write(QStringView(scratch.data(), decodedEnd));
        offset = end;
    }
    return std::move(writer).Finish();
}

// The UTF-16 length of valid UTF-8: one unit per character, two for those beyond the BMP.
// Summed in int-sized blocks so that the loop vectorises.
qsizetype Utf16LengthOfValidUtf8(QByteArrayView utf8) {
    constexpr qsizetype kBlock = 4096;
    const auto* bytes = reinterpret_cast<const uchar*>(utf8.data());
    qsizetype units = 0;
    for (qsizetype i = 0; i < utf8.size();) {
        const qsizetype blockEnd = std::min(utf8.size(), i + kBlock);
        int sum = 0;
        for (; i < blockEnd; ++i) {
            sum += (bytes[i] & 0xC0) != 0x80; // every byte but a continuation starts a character
            sum += bytes[i] >= 0xF0;          // a four-byte character needs a surrogate pair
        }
        units += sum;
    }
    return units;
}

QString DecodeUtf8(QByteArrayView body, bool valid, qsizetype chunkBytes) {
    // Invalid UTF-8 gives at most one unit (a character or U+FFFD) per byte.
    const qsizetype length = valid ? Utf16LengthOfValidUtf8(body) : body.size();
    return DecodeInChunks(body, chunkBytes, length + CountLoneLineBreaks(body), Utf8Chunks());
}

QString DecodeUtf16(QByteArrayView body, bool bigEndian, qsizetype chunkBytes) {
    // An odd last byte reads as one U+FFFD.
    const qsizetype length = (body.size() + 1) / 2;
    return DecodeInChunks(body, chunkBytes, length + CountLoneLineBreaksUtf16(body, bigEndian),
                          Utf16Chunks(bigEndian));
}

QString DecodeWindows1252Text(QByteArrayView body, qsizetype chunkBytes) {
    return DecodeInChunks(body, chunkBytes, body.size() + CountLoneLineBreaks(body),
                          Windows1252Chunks());
}

} // namespace

QString DecodeText(QByteArrayView bytes, qsizetype chunkBytes) {
    if (bytes.startsWith(kRichTextStart))
        return WithCrLfLineBreaks(RtfToPlainText(bytes));
    if (bytes.startsWith(kUtf8Bom)) {
        const QByteArrayView body = bytes.sliced(kUtf8Bom.size());
        return DecodeUtf8(body, body.isValidUtf8(), chunkBytes);
    }
    if (bytes.startsWith(kUtf16LEBom))
        return DecodeUtf16(bytes.sliced(kUtf16LEBom.size()), false, chunkBytes);
    if (bytes.startsWith(kUtf16BEBom))
        return DecodeUtf16(bytes.sliced(kUtf16BEBom.size()), true, chunkBytes);
    if (bytes.isValidUtf8())
        return DecodeUtf8(bytes, true, chunkBytes);
    return DecodeWindows1252Text(bytes, chunkBytes);
}

QString DecodeExactUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}
