#pragma once

#include "cli/ByteLineCounts.h"
#include "cli/ByteLines.h"
#include "cli/ByteLookalikeReport.h"
#include "cli/CliOptions.h"
#include "cli/ReportSinks.h"
#include "cli/SideReport.h"

#include <cstdint>
#include <vector>

// One file's part of the line comparison's report, written from the bytes of its text, byte for
// byte what the report made from the decoded text is: for people the header and "< line" (or
// "> line", with -n its line number in between) for each missing piece; for programs the JSON
// object's result text, the marks counted in the UTF-16 units of the loaded text, and the
// entries; with --count only how many; with -q nothing. With --counts the counted lines follow,
// for people under their own header, for programs as the object's "counts". With `lookalikes`
// (--explain) each entry that has one is followed by its look-alike: for people a line under it,
// for programs in the object's "lookalikes".
void WriteByteLinesSide(const CliOptions& options, int file, const SideNames& names,
                        const ByteLines& lines, const std::vector<std::uint32_t>& missing,
                        const std::vector<ByteCountedLine>& counted, ByteSink& out,
                        const SideByteLookalikes* lookalikes = nullptr);

// Appends `bytes` of valid UTF-8 as the inside of a JSON string, as JsonWriter escapes their
// decoded units; `out` needs room for six bytes a byte. Returns the end of what was written.
char* AppendJsonEscapedBytes(char* out, std::string_view bytes);

// How many UTF-16 units valid UTF-8 bytes decode to.
std::size_t Utf16Units(std::string_view bytes);
