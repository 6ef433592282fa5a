#include "cli/ByteLinesReport.h"

#include "cli/CountSinks.h"
#include "cli/LoadedUnits.h"
#include "cli/LookalikeSinks.h"
#include "cli/MarkSink.h"
#include "cli/SideReport.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#include <emmintrin.h>
#define TARNWICK_ESCAPE_SCAN_SSE2 1
#endif

namespace {

constexpr std::size_t kBufferBytes = std::size_t{1} << 20;
// A line longer than this goes out in parts of it.
constexpr std::size_t kPartBytes = std::size_t{1} << 16;
// What escaping takes at most, a byte: \u00XX.
constexpr std::size_t kEscapedBytesPerByte = 6;

// Report bytes gathered in a large buffer and handed on when it is full.
class Gathered {
public:
    explicit Gathered(ByteSink& out) : out_(out), buffer_(kBufferBytes) {}
    ~Gathered() = default;

    // Room for `bytes` more, which must be at most a part's worth.
    char* Room(std::size_t bytes) {
        if (used_ + bytes > buffer_.size())
            Flush();
        return buffer_.data() + used_;
    }
    void Used(char* end) { used_ = static_cast<std::size_t>(end - buffer_.data()); }
    void Put(std::string_view bytes) {
        if (bytes.size() > kPartBytes) { // written from where it stands
            Flush();
            out_.Write(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
            return;
        }
        char* at = Room(bytes.size());
        std::memcpy(at, bytes.data(), bytes.size());
        Used(at + bytes.size());
    }
    void Flush() {
        if (used_ > 0)
            out_.Write(QByteArrayView(buffer_.data(), static_cast<qsizetype>(used_)));
        used_ = 0;
    }

private:
    ByteSink& out_;
    std::vector<char> buffer_;
    std::size_t used_ = 0;
};

// The bytes that JSON cannot carry as they are, and what they become.
struct EscapeTable {
    std::array<bool, 256> needed{};
    constexpr EscapeTable() {
        for (int byte = 0; byte < 0x20; ++byte)
            needed[static_cast<std::size_t>(byte)] = true;
        needed['"'] = needed['\\'] = true;
    }
};
constexpr EscapeTable kEscapes;

constexpr int kEscapeScanBytes = 16;

// Bit i is set where bytes[i] must be escaped: a control, a quote or a backslash. Most report text
// has none, and this tells sixteen bytes at once.
std::uint32_t EscapeMask(const unsigned char* bytes) {
#ifdef TARNWICK_ESCAPE_SCAN_SSE2
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    // A byte is at most 0x1F where the unsigned maximum with 0x1F leaves 0x1F.
    const __m128i control =
        _mm_cmpeq_epi8(_mm_max_epu8(v, _mm_set1_epi8(0x1F)), _mm_set1_epi8(0x1F));
    const __m128i quoted =
        _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('"')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\\')));
    return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_or_si128(control, quoted)));
#else
    std::uint32_t mask = 0;
    for (int i = 0; i < kEscapeScanBytes; ++i)
        mask |= std::uint32_t{kEscapes.needed[bytes[i]]} << i;
    return mask;
#endif
}

char* Escape(char* out, unsigned char byte) {
    static constexpr char kHex[] = "0123456789abcdef";
    *out++ = '\\';
    switch (byte) {
    case '"':
    case '\\':
        *out++ = static_cast<char>(byte);
        return out;
    case '\n':
        *out++ = 'n';
        return out;
    case '\r':
        *out++ = 'r';
        return out;
    case '\t':
        *out++ = 't';
        return out;
    default:
        break;
    }
    *out++ = 'u';
    *out++ = '0';
    *out++ = '0';
    *out++ = kHex[byte >> 4];
    *out++ = kHex[byte & 0xF];
    return out;
}

void PutNumber(std::uint64_t number, Gathered& out) {
    char digits[32];
    const char* end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    out.Put(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

std::string_view View(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

void WriteReadable(const CliOptions& options, int file, const SideNames& names,
                   const ByteLines& lines, const std::vector<std::uint32_t>& missing,
                   const SideByteLookalikes* lookalikes, Gathered& out) {
    out.Put(View(SideReport::HeaderOf(options.mode, static_cast<qint64>(missing.size()), names)));
    const char prefix[2] = {file == 1 ? '<' : '>', ' '};
    for (std::size_t i = 0; i < missing.size(); ++i) {
        const std::uint32_t piece = missing[i];
        out.Put(std::string_view(prefix, 2)); // a line without the LF in front
        if (options.lineNumbers) {
            PutNumber(piece + 1ull, out);
            out.Put(": ");
        }
        out.Put(lines.Content(piece));
        out.Put("\n");
        if (lookalikes && lookalikes->found[i])
            out.Put(View(LookalikeNote(lookalikes->found[i]->piece + std::size_t{1}, names.other,
                                       lookalikes->found[i]->kinds)));
    }
}

// "< 3× in a.txt, 1× in b.txt: text" for each counted line, under their header.
void WriteReadableCounts(const CliOptions& options, int file, const SideNames& names,
                         const ByteLines& lines, const std::vector<ByteCountedLine>& counted,
                         Gathered& out) {
    out.Put(View(SideReport::CountsHeaderOf(static_cast<qint64>(counted.size()), names)));
    const char prefix[2] = {file == 1 ? '<' : '>', ' '};
    for (const ByteCountedLine& line : counted) {
        out.Put(std::string_view(prefix, 2));
        if (options.lineNumbers) {
            PutNumber(line.piece + 1, out);
            out.Put(": ");
        }
        PutNumber(line.here, out);
        out.Put(kTimesIn);
        out.Put(View(names.own));
        out.Put(", ");
        PutNumber(line.there, out);
        out.Put(kTimesIn);
        out.Put(View(names.other));
        out.Put(": ");
        out.Put(lines.Content(line.piece));
        out.Put("\n");
    }
}

// Appends a content escaped for JSON, a part at a time.
void PutEscaped(std::string_view content, Gathered& out) {
    while (!content.empty()) {
        const std::string_view part = content.substr(0, kPartBytes);
        out.Used(AppendJsonEscapedBytes(out.Room(kEscapedBytesPerByte * part.size()), part));
        content.remove_prefix(part.size());
    }
}

void WriteResult(const ByteLines& lines, const std::vector<std::uint32_t>& missing, Gathered& out) {
    for (const std::uint32_t piece : missing) {
        if (lines.AfterBreak(piece))
            out.Put("\\n");
        PutEscaped(lines.Content(piece), out);
        out.Put("\\r");
    }
}

// The marks: where each missing piece stands in the loaded text, with the CR that ends it, runs
// that touch made one.
void WriteMarks(const ByteLines& lines, const std::vector<std::uint32_t>& missing, ByteSink& out) {
    MarkSink marks(out);
    LoadedUnits units(lines);
    for (const std::uint32_t piece : missing)
        marks.Entry({}, {}, units.StartOf(piece), units.MarkedLength(piece), {});
    marks.Finish();
}

// The entries: each missing piece's line, counted from 1, and its content.
void WriteEntries(const ByteLines& lines, const std::vector<std::uint32_t>& missing,
                  Gathered& out) {
    bool first = true;
    for (const std::uint32_t piece : missing) {
        out.Put(first ? R"({"line":)" : R"(,{"line":)");
        first = false;
        PutNumber(piece + std::uint64_t{1}, out);
        out.Put(R"(,"text":")");
        PutEscaped(lines.Content(piece), out);
        out.Put(R"("})");
    }
}

// The counted lines as JSON objects, each where its first piece stands and with its counts.
void WriteJsonCounts(const ByteLines& lines, const std::vector<ByteCountedLine>& counted,
                     Gathered& out) {
    LoadedUnits units(lines);
    bool first = true;
    for (const ByteCountedLine& line : counted) {
        out.Put(first ? R"({"start":)" : R"(,{"start":)");
        first = false;
        PutNumber(units.StartOf(line.piece), out);
        out.Put(R"(,"length":)");
        PutNumber(units.MarkedLength(line.piece), out);
        out.Put(R"(,"here":)");
        PutNumber(line.here, out);
        out.Put(R"(,"there":)");
        PutNumber(line.there, out);
        out.Put(R"(,"line":)");
        PutNumber(line.piece + 1, out);
        out.Put(R"(,"text":")");
        PutEscaped(lines.Content(line.piece), out);
        out.Put(R"("})");
    }
}

} // namespace

char* AppendJsonEscapedBytes(char* out, std::string_view bytes) {
    const auto* at = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = at + bytes.size();
    while (at != end) {
        if (end - at >= kEscapeScanBytes) {
            // Sixteen bytes are copied at once; those from the first to escape on are written
            // over.
            std::memcpy(out, at, kEscapeScanBytes);
            const std::uint32_t escapes = EscapeMask(at);
            const int plain = escapes == 0 ? kEscapeScanBytes : std::countr_zero(escapes);
            out += plain;
            at += plain;
            if (escapes == 0)
                continue;
        }
        const unsigned char byte = *at++;
        if (kEscapes.needed[byte])
            out = Escape(out, byte);
        else
            *out++ = static_cast<char>(byte);
    }
    return out;
}

std::size_t Utf16Units(std::string_view bytes) {
    // Every byte but a continuation byte starts a character; a four-byte one is two units.
    std::size_t units = 0;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        units += static_cast<std::size_t>((byte & 0xC0) != 0x80) + (byte >= 0xF0 ? 1 : 0);
    }
    return units;
}

void WriteByteLinesSide(const CliOptions& options, int file, const SideNames& names,
                        const ByteLines& lines, const std::vector<std::uint32_t>& missing,
                        const std::vector<ByteCountedLine>& counted, ByteSink& out,
                        const SideByteLookalikes* lookalikes) {
    if (options.quiet)
        return;
    if (options.count) {
        out.Write(QByteArray::number(static_cast<qint64>(missing.size() + counted.size())) + ' ' +
                  names.own + '\n');
        return;
    }
    Gathered gathered(out);
    if (!options.json) {
        WriteReadable(options, file, names, lines, missing, lookalikes, gathered);
        if (options.counts)
            WriteReadableCounts(options, file, names, lines, counted, gathered);
        gathered.Flush();
        return;
    }
    gathered.Put(file == 1 ? ",\"file1\":{\"result\":\"" : ",\"file2\":{\"result\":\"");
    WriteResult(lines, missing, gathered);
    gathered.Put("\",\"marks\":[");
    gathered.Flush();
    WriteMarks(lines, missing, out);
    if (lookalikes) {
        gathered.Put("],\"lookalikes\":[");
        gathered.Flush();
        WriteJsonByteLookalikes(missing, *lookalikes, out);
    }
    gathered.Put("],\"entries\":[");
    WriteEntries(lines, missing, gathered);
    if (options.counts) {
        gathered.Put("],\"counts\":[");
        WriteJsonCounts(lines, counted, gathered);
    }
    gathered.Put("]}");
    gathered.Flush();
}
