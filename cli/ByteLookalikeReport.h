#pragma once

#include "cli/ByteLines.h"
#include "cli/ByteLookalikeLines.h"
#include "cli/ReportSinks.h"

#include <cstdint>
#include <vector>

// The look-alikes of one file's missing pieces (--explain), and the other file's lines they are.
struct SideByteLookalikes {
    const ByteLookalikes& found; // one for each missing piece
    const ByteLines& other;
};

// The JSON report's "lookalikes" of one file, written from the bytes of both texts: each missing
// piece that has a look-alike and the look-alike, where they stand in the loaded texts in UTF-16
// units, and the kinds that set them apart, byte for byte what the decoded texts give.
void WriteJsonByteLookalikes(const ByteLines& own, const std::vector<std::uint32_t>& missing,
                             const SideByteLookalikes& lookalikes, ByteSink& out);
