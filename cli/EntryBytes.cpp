#include "cli/EntryBytes.h"

#include "cli/JsonWriter.h"

#include <QChar>

#include <algorithm>

void EntryBytes::MakeRoom(std::size_t bytes) {
    Flush();
    if (bytes > buffer_.size())
        buffer_.resize(std::max(bytes, kBlockBytes + 6 * kPartUnits + 256));
}

void EntryBytes::Flush() {
    if (used_ > 0) {
        out_.Write(QByteArrayView(buffer_.data(), static_cast<qsizetype>(used_)));
        wanted_ = out_.Wants();
    }
    used_ = 0;
}

std::u16string_view EntryBytes::Part(std::u16string_view text) {
    if (text.size() <= kPartUnits)
        return text;
    const bool pairCut =
        QChar::isHighSurrogate(text[kPartUnits - 1]) && QChar::isLowSurrogate(text[kPartUnits]);
    return text.substr(0, kPartUnits - (pairCut ? 1 : 0));
}

void EntryBytes::Readable(std::u16string_view text) {
    while (!text.empty()) {
        const std::u16string_view part = Part(text);
        char* const start = Reserve(3 * part.size());
        char* at = start;
        // Most text is ASCII, copied a byte a unit; the encoder takes the rest of a part.
        std::size_t ascii = 0;
        for (; ascii < part.size() && part[ascii] < 0x80; ++ascii)
            *at++ = static_cast<char>(part[ascii]);
        if (ascii < part.size())
            at = utf8_.appendToBuffer(
                at, QStringView(part.data() + ascii, static_cast<qsizetype>(part.size() - ascii)));
        used_ += static_cast<std::size_t>(at - start);
        text.remove_prefix(part.size());
    }
}

void EntryBytes::Json(std::u16string_view text) {
    while (!text.empty()) {
        const std::u16string_view part = Part(text);
        Done(JsonWriter::PutEscaped(Reserve(JsonWriter::kEscapedBytesPerUnit * part.size()), part));
        text.remove_prefix(part.size());
    }
}
