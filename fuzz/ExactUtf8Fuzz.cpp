// The exact reader of a file (its bytes as UTF-8, nothing more), read through the file interface
// a few bytes at a time, gives what Qt's decoder gives for the whole.
#include "files/DecodedText.h"

#include <QString>
#include <QStringDecoder>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// A file of the given bytes that hands them out a few at a time, as a pipe would.
class PieceFile final : public InputFile {
public:
    PieceFile(QByteArrayView bytes, std::size_t piece, bool sized)
        : bytes_(bytes), piece_(piece), sized_(sized) {}
    std::size_t Read(char* data, std::size_t size) override {
        const std::size_t given =
            std::min({size, piece_, static_cast<std::size_t>(bytes_.size()) - at_});
        std::memcpy(data, bytes_.data() + at_, given);
        at_ += given;
        return given;
    }
    qint64 SizeHint() const override { return sized_ ? bytes_.size() : -1; }
    void Rewind() override { at_ = 0; }

private:
    QByteArrayView bytes_;
    std::size_t piece_;
    bool sized_;
    std::size_t at_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const std::size_t piece = 1 + data[0] % 16;
    const qsizetype chunk = 4 + data[1] % 60;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data) + 2,
                               static_cast<qsizetype>(size - 2));
    // Qt's decoder on the whole, a byte-order mark kept as the character it is.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString expected = utf8(bytes);
    for (const bool sized : {true, false}) {
        DecodedText text(std::make_unique<PieceFile>(bytes, piece, sized), DecodedText::Form::Exact,
                         qint64{1} << 30, chunk);
        if (text.ReadAll() != expected || text.Length() < expected.size())
            std::abort();
    }
    return 0;
}
