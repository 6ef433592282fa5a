#pragma once

#include "cli/ByteLines.h"
#include "cli/ByteLinesReport.h"

#include <cstddef>

// Where pieces stand in the loaded text, in UTF-16 units, asked for in order.
class LoadedUnits {
public:
    explicit LoadedUnits(const ByteLines& lines) : lines_(lines) {}

    // Where the piece starts, with its LF in front; no earlier piece may be asked for after it.
    std::size_t StartOf(std::size_t piece) {
        for (; next_ < piece; ++next_)
            unit_ += MarkedLength(next_);
        return unit_;
    }
    // The piece's units with its LF in front and the CR that ends it, if one does.
    std::size_t MarkedLength(std::size_t piece) const {
        const std::string_view content = lines_.Content(piece);
        return (lines_.NonAscii() ? Utf16Units(content) : content.size()) +
               (lines_.AfterBreak(piece) ? 1 : 0) + (piece + 1 < lines_.PieceCount() ? 1 : 0);
    }

private:
    const ByteLines& lines_;
    std::size_t next_ = 0;
    std::size_t unit_ = 0;
};
