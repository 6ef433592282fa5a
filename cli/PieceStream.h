#pragma once

#include "cli/ByteLines.h"

#include <cstdint>
#include <functional>
#include <string_view>

class MappedFile;

// The pieces' contents of a mapped text, cut as ByteLines cuts them, but handed on one after the
// other instead of kept, so that a text of any size is cut in the memory of a block. The bytes
// read are let go as the cutting moves on, and the text is checked to be valid UTF-8 on the way.
class PieceStream {
public:
    // Called for every piece's content, in order, with the bytes of the text read so far.
    using Each = std::function<void(std::string_view content, std::uint64_t bytesRead)>;

    // `bytes` lie in `file`; for AsLoaded text, without its byte-order mark.
    PieceStream(const MappedFile& file, std::string_view bytes, ByteLines::Form form)
        : file_(file), bytes_(bytes), form_(form) {}

    // Hands on every piece's content; false as soon as the text turns out not to be valid UTF-8
    // (what was handed on until then is to be thrown away).
    bool ForEach(const Each& each) const;

private:
    const MappedFile& file_;
    std::string_view bytes_;
    ByteLines::Form form_;
};
