#include "files/FileDecoding.h"

#include "files/LineBreaks.h"
#include "files/Utf8.h"
#include "files/Windows1252.h"
#include "platform/Failure.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr char kCR = '\r';
constexpr char kLF = '\n';

// Reads a file in chunks that never end inside a UTF-8 sequence: the bytes of a sequence cut by
// the end of a read wait for the next chunk. The same chunks serve Windows-1252, where any cut
// would do.
class ChunkReader {
public:
    ChunkReader(QFile& file, qsizetype chunkBytes, qint64 from)
        : file_(file), buffer_(static_cast<std::size_t>(std::max<qsizetype>(chunkBytes, 8) + 4)) {
        if (!file_.seek(from))
            throw Failure(file_.errorString());
    }

    // The next chunk; empty at the end of the file.
    QByteArrayView Next() {
        std::memmove(buffer_.data(), buffer_.data() + cut_, static_cast<std::size_t>(end_ - cut_));
        end_ -= cut_;
        const qint64 read =
            file_.read(buffer_.data() + end_, static_cast<qint64>(buffer_.size()) - end_);
        if (read < 0)
            throw Failure(file_.errorString());
        end_ += read;
        cut_ = read == 0 ? end_ : CharacterBoundaryBefore(end_);
        return QByteArrayView(buffer_.data(), cut_);
    }

private:
    // The last place before `end` where a character starts, or `end` when the last character is
    // whole.
    qsizetype CharacterBoundaryBefore(qsizetype end) const {
        for (qsizetype start = end - 1; start >= 0 && start >= end - 4; --start) {
            if (IsUtf8Continuation(buffer_[static_cast<std::size_t>(start)]))
                continue;
            const auto lead = static_cast<uchar>(buffer_[static_cast<std::size_t>(start)]);
            const qsizetype length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
            return start + length <= end || start == 0 ? end : start;
        }
        return end; // no character starts near the end: invalid either way
    }

    QFile& file_;
    std::vector<char> buffer_;
    qsizetype cut_ = 0; // where the chunk handed out last ended
    qsizetype end_ = 0; // how much of the buffer holds bytes
};

// What the first pass learns.
class Survey {
public:
    void Add(QByteArrayView chunk) {
        if (chunk.isEmpty())
            return;
        const auto* bytes = reinterpret_cast<const uchar*>(chunk.data());
        const qsizetype size = chunk.size();
        // A CR that ended the chunk before and an LF that starts this one are one break.
        qsizetype pairs = afterCR_ && bytes[0] == kLF;
        qsizetype crs = 0, lfs = 0, units = 0;
        uchar highBits = 0;
        // Summed in int-sized blocks, in loops simple enough for the compiler to vectorise.
        constexpr qsizetype kBlock = 4096;
        for (qsizetype from = 0; from < size; from += kBlock) {
            const qsizetype to = std::min(size, from + kBlock);
            int blockCRs = 0, blockLFs = 0, blockPairs = 0, blockUnits = 0;
            for (qsizetype i = from; i < to; ++i) {
                const uchar byte = bytes[i];
                highBits |= byte;
                blockCRs += byte == kCR;
                blockLFs += byte == kLF;
                blockUnits += ((byte & 0xC0) != 0x80) + (byte >= 0xF0);
            }
            for (qsizetype i = std::max<qsizetype>(from, 1); i < to; ++i)
                blockPairs += (bytes[i] == kLF) & (bytes[i - 1] == kCR);
            crs += blockCRs;
            lfs += blockLFs;
            pairs += blockPairs;
            units += blockUnits;
        }
        afterCR_ = bytes[size - 1] == kCR;
        ascii_ = ascii_ && highBits < 0x80;
        valid_ = valid_ && (highBits < 0x80 || chunk.isValidUtf8());
        loneBreaks_ += crs + lfs - 2 * pairs;
        utf8Units_ += units;
        bytes_ += size;
    }

    bool Ascii() const { return ascii_; }
    bool ValidUtf8() const { return valid_; }
    // Units the text will have; for broken UTF-8, at most that.
    qsizetype Length(bool asUtf8) const {
        return (asUtf8 && valid_ ? utf8Units_ : bytes_) + loneBreaks_;
    }

private:
    bool ascii_ = true;
    bool valid_ = true;
    bool afterCR_ = false;
    qsizetype loneBreaks_ = 0;
    qsizetype utf8Units_ = 0;
    qsizetype bytes_ = 0;
};

// ASCII needs no decoder: each byte widens to one unit, each break to CR LF.
class AsciiWidener {
public:
    explicit AsciiWidener(qsizetype length) : text_(length, Qt::Uninitialized) {}

    void Add(QByteArrayView chunk) {
        // Room for the worst case, in case the file grew since it was surveyed.
        if (text_.size() - size_ < 2 * chunk.size())
            text_.resize(size_ + 2 * chunk.size());
        const auto* in = reinterpret_cast<const uchar*>(chunk.data());
        const auto* const end = in + chunk.size();
        QChar* out = text_.data() + size_;
        while (in != end) {
            if (end - in >= 8 && !HasBreak(in)) { // the common case: no break among eight bytes
                for (int i = 0; i < 8; ++i)
                    out[i] = QChar(char16_t{in[i]});
                in += 8;
                out += 8;
                afterCR_ = false;
                continue;
            }
            const uchar byte = *in++;
            if (byte != kCR && byte != kLF) {
                *out++ = QChar(char16_t{byte});
                afterCR_ = false;
            } else if (byte == kLF && afterCR_) {
                afterCR_ = false;
            } else {
                *out++ = QChar(u'\r');
                *out++ = QChar(u'\n');
                afterCR_ = byte == kCR;
            }
        }
        size_ = out - text_.constData();
    }

    QString Finish() && {
        text_.truncate(size_);
        return std::move(text_);
    }

private:
    static bool HasBreak(const uchar* eight) {
        constexpr quint64 kOnes = 0x0101010101010101ull;
        constexpr quint64 kHigh = 0x8080808080808080ull;
        quint64 word;
        std::memcpy(&word, eight, 8);
        const auto zeroByte = [](quint64 v) { return (v - kOnes) & ~v & kHigh; };
        return (zeroByte(word ^ (kOnes * kCR)) | zeroByte(word ^ (kOnes * kLF))) != 0;
    }

    QString text_;
    qsizetype size_ = 0;
    bool afterCR_ = false;
};

// UTF-8 or Windows-1252: decoded a chunk at a time into a scratch buffer, then written with
// every break as CR LF. Chunks end between characters, so a stateless decoder gives what
// decoding the whole would.
class ChunkDecoder {
public:
    ChunkDecoder(bool utf8, qsizetype length, qsizetype chunkBytes)
        : utf8_(utf8), scratch_(static_cast<std::size_t>(chunkBytes + 8)), writer_(length) {}

    void Add(QByteArrayView chunk) {
        if (static_cast<qsizetype>(scratch_.size()) < chunk.size())
            scratch_.resize(static_cast<std::size_t>(chunk.size()));
        const QChar* end = utf8_ ? decoder_.appendToBuffer(scratch_.data(), chunk)
                                 : DecodeWindows1252(chunk, scratch_.data());
        writer_.Write(QStringView(scratch_.data(), end));
    }

    QString Finish() && { return std::move(writer_).Finish(); }

private:
    bool utf8_;
    QStringDecoder decoder_{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                      QStringDecoder::Flag::ConvertInitialBom};
    std::vector<QChar> scratch_;
    CrLfWriter writer_;
};

template <typename Decoder>
QString SecondPass(QFile& file, qsizetype chunkBytes, qint64 from, Decoder decoder) {
    ChunkReader reader(file, chunkBytes, from);
    for (QByteArrayView chunk = reader.Next(); !chunk.isEmpty(); chunk = reader.Next())
        decoder.Add(chunk);
    return std::move(decoder).Finish();
}

} // namespace

QString DecodeFileInPasses(QFile& file, qsizetype chunkBytes) {
    const bool markedUtf8 = file.peek(kUtf8Bom.size()) == kUtf8Bom;
    const qint64 from = markedUtf8 ? kUtf8Bom.size() : 0;
    Survey survey;
    ChunkReader reader(file, chunkBytes, from);
    for (QByteArrayView chunk = reader.Next(); !chunk.isEmpty(); chunk = reader.Next())
        survey.Add(chunk);
    // A marked file is UTF-8 whatever it holds; an unmarked one only if it is valid UTF-8.
    const bool utf8 = markedUtf8 || survey.ValidUtf8();
    if (survey.Ascii())
        return SecondPass(file, chunkBytes, from, AsciiWidener(survey.Length(true)));
    return SecondPass(file, chunkBytes, from, ChunkDecoder(utf8, survey.Length(utf8), chunkBytes));
}
