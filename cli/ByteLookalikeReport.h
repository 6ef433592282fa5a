#pragma once

#include "cli/ByteLines.h"
#include "cli/ByteLookalikeLines.h"
#include "cli/ReportSinks.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// Where some pieces of a text stand in the loaded text, in UTF-16 units, as a mark covers them:
// the piece with the LF in front of it and the CR that ends it. Worked out in one walk along the
// text, however many pieces are asked for.
class LoadedSpans {
public:
    struct Span {
        std::size_t start = 0;
        std::size_t length = 0;
    };

    LoadedSpans() = default;
    LoadedSpans(const ByteLines& lines, std::vector<std::uint32_t> pieces);

    // The span of a piece that was asked for.
    Span Of(std::uint32_t piece) const;

private:
    std::vector<std::uint32_t> pieces_; // in order, each once
    std::vector<Span> spans_;
};

// The spans the JSON report's look-alikes need in each text: its missing pieces that have a
// look-alike and the look-alikes of the other text's in it, each text walked on its own thread.
std::array<LoadedSpans, 2> SpansOfLookalikes(const ByteLookalikeText& first,
                                             const ByteLookalikeText& second,
                                             const std::array<ByteLookalikes, 2>& found);

// The look-alikes of one file's missing pieces (--explain), and for JSON where they stand.
struct SideByteLookalikes {
    const ByteLookalikes& found; // one for each missing piece
    const LoadedSpans& own;
    const LoadedSpans& other;
};

// The JSON report's "lookalikes" of one file: each missing piece that has a look-alike and the
// look-alike, where they stand in the loaded texts, and the kinds that set them apart, byte for
// byte what the decoded texts give.
void WriteJsonByteLookalikes(const std::vector<std::uint32_t>& missing,
                             const SideByteLookalikes& lookalikes, ByteSink& out);
