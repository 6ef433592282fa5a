#pragma once

#include "cli/ByteLines.h"
#include "cli/CliOptions.h"

#include <cstdio>
#include <optional>
#include <string_view>

class MappedFile;

// A text of the line comparison on bytes: the mapped file, and the bytes of it that are compared.
struct SpilledText {
    const MappedFile& file;
    std::string_view bytes;
};

// The line comparison on bytes for files that do not fit in the memory allowed, with the same
// report byte for byte. Each file's pieces are split by the hash of their content into as many
// temporary files under $TMPDIR as it takes for one of them at a time to fit; for each such
// bucket the distinct contents of one file are held and those of the other looked up, compared
// byte by byte (a hash only tells where to look). The missing pieces' numbers go to a temporary
// file, bucket after bucket, and are merged into text order as each file is read once more for
// the report. Nothing reaches `out` before every comparison is done, so a run that fails (a full
// disk, say) prints no report at all.
//
// Serves the readable report (with -n or not), --count and -q. Returns the exit status, or
// nothing, having written nothing, when a text turns out not to be valid UTF-8. Fails (Failure)
// before it starts when the temporary files would not fit on their disk.
std::optional<int> CompareLinesSpilled(const CliOptions& options, const SpilledText& first,
                                       const SpilledText& second, std::FILE* out);

// Whether the report the options ask for is one the comparison above gives.
bool SpilledServes(const CliOptions& options);

// About how many pieces `bytes` holds, from the breaks in its first megabytes.
std::uint64_t EstimatedPieces(std::string_view bytes);
