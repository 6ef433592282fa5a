#include "files/DecodedText.h"

#include "files/LineBreaks.h"
#include "files/RtfText.h"
#include "files/Utf8.h"
#include "files/Windows1252.h"
#include "platform/Failure.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr QByteArrayView kUtf16LEBom = "\xFF\xFE";
constexpr QByteArrayView kUtf16BEBom = "\xFE\xFF";
constexpr QByteArrayView kRichTextStart = "{\\rtf";

// Room for the longest UTF-8 character, so that a chunk can always end between two.
constexpr qsizetype kMinChunkBytes = 4;

enum class Encoding { Ascii, Utf8, Windows1252, Utf16LE, Utf16BE, RichText };

bool IsUtf16(Encoding encoding) {
    return encoding == Encoding::Utf16LE || encoding == Encoding::Utf16BE;
}

// Where a piece that more bytes follow may end in each encoding, so that every piece decodes
// alone as it would inside the whole: UTF-8 by the rule all decoding shares, UTF-16 between code
// units, 8-bit text anywhere.
qsizetype PieceEnd(Encoding encoding, QByteArrayView bytes) {
    if (IsUtf16(encoding))
        return bytes.size() & ~qsizetype{1};
    if (encoding == Encoding::Utf8)
        return Utf8PieceEnd(bytes);
    return bytes.size();
}

// A file's line breaks by kind, indexed by LineBreak.
struct BreakCounts {
    std::array<qsizetype, 3> of{};

    qsizetype& operator[](LineBreak kind) { return of[static_cast<std::size_t>(kind)]; }
    qsizetype Total() const { return of[0] + of[1] + of[2]; }
    bool Mixed() const { return std::count(of.begin(), of.end(), 0) < 2; }
    // The most common kind; the system's own for a text without breaks.
    LineBreak Dominant() const {
        if (Total() == 0)
            return kSystemLineBreak;
        const auto most = std::max_element(of.begin(), of.end());
        return static_cast<LineBreak>(most - of.begin());
    }
};

[[noreturn]] void ThrowTooLarge() {
    throw Failure(u"The file is too large to load (over 1 GiB)"_s);
}

} // namespace

// The bytes, read a chunk at a time from the file, or from memory when they are held. A chunk
// ends where the encoding allows; what is left over waits for the next one.
class DecodedText::Bytes {
public:
    Bytes(std::unique_ptr<InputFile> file, qint64 maxBytes, qsizetype chunkBytes)
        : file_(std::move(file)), maxBytes_(maxBytes),
          chunkBytes_(std::max<qsizetype>(chunkBytes, kMinChunkBytes)) {
        if (file_->SizeHint() > maxBytes)
            ThrowTooLarge();
        // A stream can be read only once; a file that says it is empty (those of the system,
        // under /proc, say 0 whatever they hold) may give other bytes each time.
        if (file_->SizeHint() <= 0) {
            held_ = ReadWhole();
            file_.reset();
        }
    }
    Bytes(QByteArray held, qsizetype chunkBytes)
        : held_(std::move(held)), chunkBytes_(std::max<qsizetype>(chunkBytes, kMinChunkBytes)) {}

    // Starts a reading `from` bytes in.
    void Restart(qsizetype from) {
        begin_ = end_ = 0;
        position_ = 0;
        if (file_) {
            file_->Rewind();
            buffer_.resize(static_cast<std::size_t>(chunkBytes_));
            Skip(from);
        } else {
            position_ = std::min(from, held_.size());
        }
    }

    // The next piece, of at most a chunk, cut by `encoding`; empty at the end.
    QByteArrayView Next(Encoding encoding) {
        if (!file_) {
            const QByteArrayView left = QByteArrayView(held_).sliced(position_);
            if (left.size() <= chunkBytes_) {
                position_ = held_.size();
                return left;
            }
            const qsizetype end = PieceEnd(encoding, left.first(chunkBytes_));
            position_ += end;
            return left.first(end);
        }
        std::memmove(buffer_.data(), buffer_.data() + begin_,
                     static_cast<std::size_t>(end_ - begin_));
        end_ -= begin_;
        begin_ = 0;
        const bool more = Fill();
        const QByteArrayView available(buffer_.data(), end_);
        begin_ = more ? PieceEnd(encoding, available) : end_;
        return available.first(begin_);
    }

    // After a whole reading: how many bytes there were, so that a later reading can tell that the
    // file changed meanwhile.
    void Measured() {
        if (file_)
            total_ = position_;
    }
    // How many bytes there are, once a whole reading has told.
    qint64 Size() const { return file_ ? total_ : held_.size(); }
    // How many of them are held in memory.
    qint64 Held() const { return held_.size(); }
    QByteArray ReadAllNow() {
        if (!file_)
            return held_;
        Restart(0);
        return ReadWhole();
    }
    void Drop() {
        file_.reset();
        held_.clear();
        buffer_ = {};
    }

private:
    // Fills the buffer from the file; returns whether the file has more.
    bool Fill() {
        while (end_ < chunkBytes_) {
            qsizetype wanted = chunkBytes_ - end_;
            if (total_ >= 0)
                wanted = std::min<qsizetype>(wanted, total_ - position_);
            if (wanted == 0)
                return false;
            const auto read = static_cast<qsizetype>(
                file_->Read(buffer_.data() + end_, static_cast<std::size_t>(wanted)));
            if (read == 0) {
                if (total_ >= 0)
                    throw Failure(u"The file changed while it was being read"_s);
                return false;
            }
            end_ += read;
            position_ += read;
            if (position_ > maxBytes_)
                ThrowTooLarge();
        }
        return true;
    }

    void Skip(qsizetype bytes) {
        while (bytes > 0) {
            end_ = 0;
            const qsizetype wanted = std::min(bytes, chunkBytes_);
            const auto read = static_cast<qsizetype>(
                file_->Read(buffer_.data(), static_cast<std::size_t>(wanted)));
            if (read == 0)
                break;
            bytes -= read;
            position_ += read;
        }
    }

    QByteArray ReadWhole() {
        QByteArray bytes;
        std::vector<char> piece(static_cast<std::size_t>(chunkBytes_));
        for (;;) {
            const std::size_t read = file_->Read(piece.data(), piece.size());
            if (read == 0)
                return bytes;
            if (bytes.size() + static_cast<qsizetype>(read) > maxBytes_)
                ThrowTooLarge();
            bytes.append(piece.data(), static_cast<qsizetype>(read));
        }
    }

    std::unique_ptr<InputFile> file_;
    QByteArray held_;
    qint64 maxBytes_ = std::numeric_limits<qint64>::max();
    qsizetype chunkBytes_;
    std::vector<char> buffer_;
    qsizetype begin_ = 0;    // where the bytes not handed out yet begin in the buffer
    qsizetype end_ = 0;      // how much of the buffer holds bytes
    qsizetype position_ = 0; // bytes taken from the file, or from the held bytes
    qsizetype total_ = -1;   // the file's size as the first reading found it
};

struct DecodedText::Plan {
    Form form = Form::AsLoaded;
    Encoding encoding = Encoding::Utf8;
    qsizetype skip = 0; // the byte-order mark
    qsizetype length = 0;
    qsizetype crs = 0; // CRs in the text, or for UTF-16 as many as there could be
    qint64 bytes = 0;
    BreakCounts breaks; // in the file, as they are there
};

namespace {

// What a reading of 8-bit or UTF-8 bytes learns: the encoding and the text's exact length.
class ByteSurvey {
public:
    void Add(QByteArrayView chunk) {
        if (chunk.isEmpty())
            return;
        const auto* bytes = reinterpret_cast<const uchar*>(chunk.data());
        const qsizetype size = chunk.size();
        // A CR that ended the chunk before and an LF that starts this one are one break.
        qsizetype pairs = afterCR_ && bytes[0] == '\n';
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
                blockCRs += byte == '\r';
                blockLFs += byte == '\n';
                blockUnits += ((byte & 0xC0) != 0x80) + (byte >= 0xF0);
            }
            for (qsizetype i = std::max<qsizetype>(from, 1); i < to; ++i)
                blockPairs += (bytes[i] == '\n') & (bytes[i - 1] == '\r');
            crs += blockCRs;
            lfs += blockLFs;
            pairs += blockPairs;
            units += blockUnits;
        }
        afterCR_ = bytes[size - 1] == '\r';
        ascii_ = ascii_ && highBits < 0x80;
        valid_ = valid_ && (highBits < 0x80 || chunk.isValidUtf8());
        loneBreaks_ += crs + lfs - 2 * pairs;
        breaks_ += crs + lfs - pairs;
        crs_ += crs;
        utf8Units_ += units;
        bytes_ += size;
    }

    bool Ascii() const { return ascii_; }
    bool ValidUtf8() const { return valid_; }
    // With line breaks as CR LF or as they are; for broken UTF-8, at most that.
    // The CRs of the text: every break is one with CR LF breaks, only the CRs without.
    qsizetype CRs(bool crLf) const { return crLf ? breaks_ : crs_; }
    qsizetype Length(bool asUtf8, bool crLf) const {
        return (asUtf8 && valid_ ? utf8Units_ : bytes_) + (crLf ? loneBreaks_ : 0);
    }
    // Every break is one unit but a CR LF, two units and one break.
    BreakCounts Breaks() const {
        const qsizetype pairs = breaks_ - loneBreaks_;
        BreakCounts counts;
        counts[LineBreak::CrLf] = pairs;
        counts[LineBreak::Cr] = crs_ - pairs;
        counts[LineBreak::Lf] = breaks_ - crs_;
        return counts;
    }

private:
    bool ascii_ = true;
    bool valid_ = true;
    bool afterCR_ = false;
    qsizetype loneBreaks_ = 0;
    qsizetype breaks_ = 0;
    qsizetype crs_ = 0;
    qsizetype utf8Units_ = 0;
    qsizetype bytes_ = 0;
};

class Utf16Survey {
public:
    explicit Utf16Survey(bool bigEndian) : bigEndian_(bigEndian) {}

    void Add(QByteArrayView chunk) {
        if (chunk.size() < 2) {
            bytes_ += chunk.size();
            return;
        }
        const auto unitAt = [&](qsizetype at) {
            const auto high = static_cast<uchar>(chunk[at + (bigEndian_ ? 0 : 1)]);
            const auto low = static_cast<uchar>(chunk[at + (bigEndian_ ? 1 : 0)]);
            return static_cast<char16_t>(high << 8 | low);
        };
        // A CR ending the chunk before and an LF starting this one were each counted alone.
        if (afterCR_ && unitAt(0) == u'\n')
            loneBreaks_ -= 2;
        loneBreaks_ += CountLoneLineBreaksUtf16(chunk, bigEndian_);
        afterCR_ = unitAt((chunk.size() & ~qsizetype{1}) - 2) == u'\r';
        bytes_ += chunk.size();
        for (qsizetype at = 0; at + 1 < chunk.size(); at += 2) {
            const char16_t unit = unitAt(at);
            crs_ += unit == u'\r';
            lfs_ += unit == u'\n';
        }
    }
    // An odd last byte reads as one U+FFFD.
    qsizetype Length() const { return (bytes_ + 1) / 2 + loneBreaks_; }
    // A CR LF is two units and no lone break.
    BreakCounts Breaks() const {
        const qsizetype pairs = (crs_ + lfs_ - loneBreaks_) / 2;
        BreakCounts counts;
        counts[LineBreak::CrLf] = pairs;
        counts[LineBreak::Cr] = crs_ - pairs;
        counts[LineBreak::Lf] = lfs_ - pairs;
        return counts;
    }

private:
    bool bigEndian_;
    bool afterCR_ = false;
    qsizetype loneBreaks_ = 0;
    qsizetype crs_ = 0;
    qsizetype lfs_ = 0;
    qsizetype bytes_ = 0;
};

Encoding MarkedEncoding(QByteArrayView start, qsizetype& skip) {
    if (start.startsWith(kRichTextStart))
        return Encoding::RichText;
    if (start.startsWith(kUtf8Bom)) {
        skip = kUtf8Bom.size();
        return Encoding::Utf8;
    }
    if (start.startsWith(kUtf16LEBom)) {
        skip = kUtf16LEBom.size();
        return Encoding::Utf16LE;
    }
    if (start.startsWith(kUtf16BEBom)) {
        skip = kUtf16BEBom.size();
        return Encoding::Utf16BE;
    }
    return Encoding::Windows1252; // until a survey finds valid UTF-8
}

} // namespace

DecodedText::DecodedText(std::unique_ptr<InputFile> file, Form form, qint64 maxBytes,
                         qsizetype chunkBytes)
    : bytes_(std::make_unique<Bytes>(std::move(file), maxBytes, chunkBytes)),
      plan_(std::make_unique<Plan>()) {
    plan_->form = form;
    Survey();
}

DecodedText::DecodedText(QByteArray bytes, Form form, qsizetype chunkBytes)
    : bytes_(std::make_unique<Bytes>(std::move(bytes), chunkBytes)),
      plan_(std::make_unique<Plan>()) {
    plan_->form = form;
    Survey();
}

DecodedText::~DecodedText() = default;

void DecodedText::Survey() {
    Plan& plan = *plan_;
    bytes_->Restart(0);
    const bool exact = plan.form == Form::Exact;
    // The marks are looked for in the first five bytes, which small chunks may hold between them.
    QByteArray start;
    for (QByteArrayView chunk = bytes_->Next(Encoding::Windows1252);
         !chunk.isEmpty() && start.size() < kRichTextStart.size();
         chunk = bytes_->Next(Encoding::Windows1252))
        start.append(chunk);
    plan.encoding = exact ? Encoding::Utf8 : MarkedEncoding(start, plan.skip);
    if (plan.encoding == Encoding::RichText) {
        const QByteArray rtf = bytes_->ReadAllNow();
        plan.bytes = rtf.size();
        kept_ = WithCrLfLineBreaks(RtfToPlainText(rtf));
        bytes_->Drop();
        plan.length = kept_.size();
        plan.crs = kept_.count(u'\r');
        return;
    }
    bytes_->Restart(plan.skip);
    if (IsUtf16(plan.encoding)) {
        Utf16Survey survey(plan.encoding == Encoding::Utf16BE);
        for (QByteArrayView chunk = bytes_->Next(plan.encoding); !chunk.isEmpty();
             chunk = bytes_->Next(plan.encoding))
            survey.Add(chunk);
        plan.length = survey.Length();
        plan.crs = plan.length / 2;
        plan.breaks = survey.Breaks();
    } else {
        ByteSurvey survey;
        for (QByteArrayView chunk = bytes_->Next(Encoding::Utf8); !chunk.isEmpty();
             chunk = bytes_->Next(Encoding::Utf8))
            survey.Add(chunk);
        // A marked file is UTF-8 whatever it holds; an unmarked one only if it is valid UTF-8.
        if (plan.encoding != Encoding::Utf8 && survey.ValidUtf8())
            plan.encoding = survey.Ascii() && !exact ? Encoding::Ascii : Encoding::Utf8;
        plan.length = survey.Length(plan.encoding != Encoding::Windows1252, !exact);
        plan.crs = survey.CRs(!exact);
        plan.breaks = survey.Breaks();
    }
    bytes_->Measured();
    plan.bytes = bytes_->Size();
}

qsizetype DecodedText::Length() const {
    return plan_->length;
}

qsizetype DecodedText::CRs() const {
    return plan_->crs;
}

qint64 DecodedText::FileBytes() const {
    return plan_->bytes;
}

qint64 DecodedText::KeptBytes() const {
    return bytes_->Held() + kept_.size() * qint64{sizeof(QChar)};
}

void DecodedText::Release() {
    bytes_->Drop();
    kept_ = QString();
}

TextFileForm DecodedText::FileForm() const {
    const Plan& plan = *plan_;
    TextFileForm form;
    switch (plan.encoding) {
    case Encoding::Ascii:
    case Encoding::Utf8:
        form.encoding = TextFileForm::Encoding::Utf8;
        break;
    case Encoding::Windows1252:
        form.encoding = TextFileForm::Encoding::Windows1252;
        break;
    case Encoding::Utf16LE:
        form.encoding = TextFileForm::Encoding::Utf16LE;
        break;
    case Encoding::Utf16BE:
        form.encoding = TextFileForm::Encoding::Utf16BE;
        break;
    case Encoding::RichText:
        // Its lines are paragraphs of the document, not lines of the file.
        form.encoding = TextFileForm::Encoding::RichText;
        return form;
    }
    form.byteOrderMark = plan.skip > 0;
    form.lineBreak = plan.breaks.Dominant();
    form.mixedBreaks = plan.breaks.Mixed();
    return form;
}

// Each chunk is decoded into a scratch buffer that stays in the cache, then written out with its
// line breaks as CR LF. The decoders keep no state between chunks: chunks end where decoding them
// alone gives what decoding the whole would.
struct DecodedText::Reader::State {
    explicit State(Encoding encoding)
        : decoder(encoding == Encoding::Utf16BE   ? QStringDecoder::Utf16BE
                  : encoding == Encoding::Utf16LE ? QStringDecoder::Utf16LE
                                                  : QStringDecoder::Utf8,
                  QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom) {}

    QStringDecoder decoder;
    std::vector<QChar> scratch;
    std::vector<QChar> out;
    bool afterCR = false;
    LineBreakKinds* eachBreak = nullptr;
    bool noteAfterCR = false;
    qsizetype keptFrom = 0; // for rich text: how much of it was handed out
};

DecodedText::Reader::Reader(DecodedText& text, LineBreakKinds* eachBreak)
    : text_(text), state_(std::make_unique<State>(text.plan_->encoding)) {
    const Plan& plan = *text_.plan_;
    if (plan.encoding == Encoding::RichText)
        return;
    text_.bytes_->Restart(plan.skip);
    if (eachBreak && plan.form == Form::AsLoaded) {
        state_->eachBreak = eachBreak;
        eachBreak->Reserve(plan.breaks.Total());
    }
}

DecodedText::Reader::~Reader() = default;

QStringView DecodedText::Reader::Next() {
    // A chunk may give nothing (the LF of a CR LF that the chunk before ended with).
    for (;;) {
        const std::optional<QStringView> piece = Decode();
        if (!piece || !piece->isEmpty())
            return piece.value_or(QStringView());
    }
}

std::optional<QStringView> DecodedText::Reader::Decode() {
    const Plan& plan = *text_.plan_;
    State& state = *state_;
    if (plan.encoding == Encoding::RichText) {
        const qsizetype from = state.keptFrom;
        const qsizetype size = std::min(kChunkBytes, text_.kept_.size() - from);
        state.keptFrom += size;
        if (size == 0)
            return std::nullopt;
        return QStringView(text_.kept_).sliced(from, size);
    }
    const QByteArrayView chunk = text_.bytes_->Next(plan.encoding);
    if (chunk.isEmpty())
        return std::nullopt;
    const auto room = static_cast<std::size_t>(state.decoder.requiredSpace(chunk.size()) + 1);
    if (state.scratch.size() < room) {
        state.scratch.resize(room);
        state.out.resize(2 * room);
    }
    if (plan.encoding == Encoding::Ascii) {
        if (state.eachBreak)
            NoteLineBreaks(chunk.data(), chunk.data() + chunk.size(), *state.eachBreak,
                           state.noteAfterCR);
        const QChar* end = CopyWithCrLf(chunk.data(), chunk.data() + chunk.size(), state.out.data(),
                                        state.afterCR);
        return QStringView(state.out.data(), end);
    }
    QChar* decoded = state.scratch.data();
    if (plan.encoding == Encoding::Windows1252) {
        decoded = DecodeWindows1252(chunk, decoded);
    } else if (IsUtf16(plan.encoding)) {
        // Only the last chunk can be odd. Qt drops a lone last byte; it is kept visible instead.
        decoded = state.decoder.appendToBuffer(decoded, chunk.first(chunk.size() & ~qsizetype{1}));
        if (chunk.size() % 2 != 0)
            *decoded++ = QChar(QChar::ReplacementCharacter);
    } else {
        decoded = state.decoder.appendToBuffer(decoded, chunk);
    }
    if (plan.form == Form::Exact)
        return QStringView(state.scratch.data(), decoded);
    if (state.eachBreak)
        NoteLineBreaks<QChar>(state.scratch.data(), decoded, *state.eachBreak, state.noteAfterCR);
    const QChar* end =
        CopyWithCrLf<QChar>(state.scratch.data(), decoded, state.out.data(), state.afterCR);
    return QStringView(state.out.data(), end);
}

void DecodedText::Read(const std::function<void(QStringView)>& piece, LineBreakKinds* eachBreak) {
    Reader reader(*this, eachBreak);
    for (QStringView next = reader.Next(); !next.isEmpty(); next = reader.Next())
        piece(next);
}

QString DecodedText::ReadAll(LineBreakKinds* eachBreak) {
    if (plan_->encoding == Encoding::RichText)
        return kept_;
    QString text;
    text.reserve(Length());
    Read([&](QStringView piece) { text.append(piece); }, eachBreak);
    return text;
}
