#pragma once

#include "cli/ReportSinks.h"

#include <QStringEncoder>

#include <cstddef>
#include <string_view>
#include <vector>

// Report bytes made one entry at a time and handed on a block at a time. Room is made before each
// piece is put, so that putting it is a pointer moving on; a text of any length goes in parts, so
// that what is held stays within about a block.
class EntryBytes {
public:
    explicit EntryBytes(ByteSink& out);

    bool Wanted() const { return out_.Wants(); }
    // Bytes as they are.
    void Put(std::string_view bytes);
    void Put(char c) {
        *Room(1) = c;
        ++used_;
    }
    void Number(unsigned long long number);
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
    // Units of a text put at once, at most six bytes each.
    static constexpr std::size_t kPartUnits = std::size_t{1} << 16;

    char* Room(std::size_t bytes);
    // The first part of `text`, which does not end inside a surrogate pair.
    static std::u16string_view Part(std::u16string_view text);

    ByteSink& out_;
    std::vector<char> buffer_;
    std::size_t used_ = 0;
    QStringEncoder utf8_{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
};
