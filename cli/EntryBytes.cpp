#include "cli/EntryBytes.h"

#include "cli/JsonWriter.h"

#include <QChar>

#include <charconv>
#include <cstring>

EntryBytes::EntryBytes(ByteSink& out) : out_(out) {}

char* EntryBytes::Room(std::size_t bytes) {
    if (used_ + bytes > buffer_.size()) {
        Flush();
        if (bytes > buffer_.size())
            buffer_.resize(std::max(bytes, kBlockBytes + 6 * kPartUnits + 64));
    }
    return buffer_.data() + used_;
}

void EntryBytes::Flush() {
    if (used_ > 0)
        out_.Write(QByteArrayView(buffer_.data(), static_cast<qsizetype>(used_)));
    used_ = 0;
}

void EntryBytes::Put(std::string_view bytes) {
    std::memcpy(Room(bytes.size()), bytes.data(), bytes.size());
    used_ += bytes.size();
}

void EntryBytes::Number(unsigned long long number) {
    char* at = Room(24);
    used_ += static_cast<std::size_t>(std::to_chars(at, at + 24, number).ptr - at);
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
        char* const start = Room(3 * part.size());
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
        char* at = Room(JsonWriter::kEscapedBytesPerUnit * part.size());
        used_ += static_cast<std::size_t>(JsonWriter::PutEscaped(at, part) - at);
        text.remove_prefix(part.size());
    }
}
