#pragma once

#include "cli/ReportSinks.h"

#include <QStringEncoder>

#include <charconv>
#include <cstddef>
#include <cstring>
#include <string_view>
#include <vector>

// Report bytes made one entry at a time and handed on a block at a time. Room is made before each
// piece is put, so that putting it is a pointer moving on; a text of any length goes in parts, so
// that what is held stays within about a block.
class EntryBytes {
public:
    // The most bytes a number takes.
    static constexpr std::size_t kNumberBytes = 20;
    // Texts up to this many units can be put in the room of one Reserve.
    static constexpr std::size_t kPartUnits = std::size_t{1} << 16;

    explicit EntryBytes(ByteSink& out) : out_(out), wanted_(out.Wants()) {}

    // False once what is written is thrown away: making it can stop.
    bool Wanted() const { return wanted_; }

    // Room for `bytes` more, to be written from the pointer it gives and ended with Done.
    char* Reserve(std::size_t bytes) {
        if (used_ + bytes > buffer_.size()) [[unlikely]]
            MakeRoom(bytes);
        return buffer_.data() + used_;
    }
    void Done(const char* end) { used_ = static_cast<std::size_t>(end - buffer_.data()); }

    // Writers for the room of a Reserve.
    static char* Put(char* at, std::string_view bytes) {
        std::memcpy(at, bytes.data(), bytes.size());
        return at + bytes.size();
    }
    static char* Number(char* at, unsigned long long number) {
        return std::to_chars(at, at + kNumberBytes, number).ptr;
    }

    // Bytes as they are.
    void Put(std::string_view bytes) { Done(Put(Reserve(bytes.size()), bytes)); }
    void Put(char c) {
        *Reserve(1) = c;
        ++used_;
    }
    void Number(unsigned long long number) { Done(Number(Reserve(kNumberBytes), number)); }
    // The text in UTF-8 as it is, for people.
    void Readable(std::u16string_view text);
    // The text escaped for the inside of a JSON string.
    void Json(std::u16string_view text);
    // Hands on what is gathered.
    void Flush();
    // Hands on what is gathered once it fills a block.
    void FlushFull() {
        if (used_ >= kBlockBytes)
            Flush();
    }

private:
    static constexpr std::size_t kBlockBytes = std::size_t{1} << 20;

    void MakeRoom(std::size_t bytes);
    // The first part of `text`, which does not end inside a surrogate pair.
    static std::u16string_view Part(std::u16string_view text);

    ByteSink& out_;
    bool wanted_;
    std::vector<char> buffer_;
    std::size_t used_ = 0;
    QStringEncoder utf8_{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
};
