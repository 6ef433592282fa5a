#include "cli/ReportEntries.h"

#include "compare/LineBreakUnits.h"
#include "compare/UnitScan.h"

#include <algorithm>
#include <bit>
#include <cstdint>

namespace {

// Non-ASCII units are handed to the encoder this many at most, so that the room they need is
// bounded: at most three bytes a unit.
constexpr qsizetype kEncodedRunCap = 256;

bool IsAscii(char16_t unit) {
    return unit < 0x80;
}

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit < 0xDC00;
}

} // namespace

ReportEntries::ReportEntries(CliOptions::Mode mode, QStringView result, char prefix)
    : mode_(mode), next_(reinterpret_cast<const char16_t*>(result.utf16())),
      end_(next_ + result.size()), prefix_(prefix) {}

void ReportEntries::Continue(QStringView part, bool last) {
    next_ = reinterpret_cast<const char16_t*>(part.utf16());
    end_ = next_ + part.size();
    last_ = last;
}

qsizetype ReportEntries::Count(CliOptions::Mode mode, QStringView result) {
    // Loops simple enough for the compiler to vectorise: the result is read once more in full.
    const auto* units = reinterpret_cast<const char16_t*>(result.utf16());
    const qsizetype size = result.size();
    qsizetype count = 0;
    if (mode == CliOptions::Mode::Lines) {
        for (qsizetype i = 0; i < size; ++i)
            count += units[i] == kCR;
        return count;
    }
    for (qsizetype i = 1; i < size; ++i)
        count += (units[i] == kLF) & (units[i - 1] == kCR);
    return count;
}

std::vector<QStringView> ReportEntries::Pieces(CliOptions::Mode mode, QStringView result,
                                               qsizetype units) {
    // A word entry begins at its CR LF; a line entry just after the CR that ended the one before.
    const auto entryStartFrom = [&](qsizetype from) {
        if (mode == CliOptions::Mode::Words) {
            const qsizetype pair = result.indexOf(u"\r\n", from);
            return pair < 0 ? result.size() : pair;
        }
        const qsizetype cr = result.indexOf(QChar(kCR), from);
        return cr < 0 ? result.size() : cr + 1;
    };
    std::vector<QStringView> pieces;
    for (qsizetype start = 0; start < result.size();) {
        const qsizetype end = entryStartFrom(start + std::max<qsizetype>(units, 1));
        pieces.push_back(result.sliced(start, end - start));
        start = end;
    }
    return pieces;
}

QByteArray ReportEntries::Convert(CliOptions::Mode mode, QStringView result, char prefix) {
    ReportEntries entries(mode, result, prefix);
    // Mostly ASCII: a byte a unit and one more an entry. Grown if that is not enough.
    QByteArray out(result.size() + result.size() / 4 + kMinimumRoom, Qt::Uninitialized);
    qsizetype size = 0;
    while (!entries.AtEnd()) {
        if (out.size() - size < kMinimumRoom)
            out.resize(2 * out.size());
        size += entries.ConvertInto(std::span(out.data() + size, out.data() + out.size()));
    }
    out.truncate(size);
    return out;
}

char* ReportEntries::StartEntry(char* out) {
    *out++ = prefix_;
    *out++ = ' ';
    lineOpen_ = true;
    const bool words = mode_ == CliOptions::Mode::Words;
    if (words && end_ - next_ >= 2 && next_[0] == kCR && next_[1] == kLF)
        next_ += 2; // the CR LF before the word
    else if (!words && next_ != end_ && *next_ == kLF)
        ++next_;
    return out;
}

char* ReportEntries::ConvertSpecial(char* out) {
    if (*next_ == kCR) {
        const bool pair = next_ + 1 != end_ && next_[1] == kLF;
        if (mode_ == CliOptions::Mode::Words && !pair) { // a lone CR is part of its word
            *out++ = '\r';
            ++next_;
            return out;
        }
        *out++ = '\n';
        lineOpen_ = false;
        if (mode_ == CliOptions::Mode::Lines)
            ++next_;
        // A line entry ends at its CR; a word entry ends where the next one's CR LF begins.
        return next_ != end_ ? StartEntry(out) : out;
    }
    const char16_t* run = next_;
    const char16_t* const runEnd = run + std::min<qsizetype>(kEncodedRunCap, end_ - run);
    while (run != runEnd && !IsAscii(*run))
        ++run;
    if (run == runEnd && run != end_ && IsHighSurrogate(run[-1]) && run - next_ > 1)
        --run; // a surrogate pair is never cut in two
    out = utf8_.appendToBuffer(out, QStringView(next_, run));
    next_ = run;
    return out;
}

char* ReportEntries::ConvertPlain(char* out, const char* last) {
    // Locals, not members: a store through `out` could otherwise be any member, and each one would
    // be read again after every store.
    const char16_t* in = next_;
    const char16_t* const end = end_;
    const char prefix = prefix_;
    const bool words = mode_ == CliOptions::Mode::Words;
    while (in != end && out <= last) {
        if (end - in >= compare::kScanUnits) {
            // Sixteen units are narrowed at once; those from the first CR or non-ASCII unit on
            // are written over.
            compare::NarrowAscii(in, out);
            const std::uint32_t special = compare::NonAsciiOrEqualMask(in, kCR);
            const int plain = special == 0 ? compare::kScanUnits : std::countr_zero(special);
            out += plain;
            in += plain;
            if (special == 0)
                continue;
        } else if (IsAscii(*in) && *in != kCR) {
            *out++ = static_cast<char>(*in++);
            continue;
        }
        if (!words || *in != kCR || end - in < 2 || in[1] != kLF)
            break;
        // One word ends and the next begins.
        out[0] = '\n';
        out[1] = prefix;
        out[2] = ' ';
        out += 3;
        in += 2;
    }
    next_ = in;
    return out;
}

qsizetype ReportEntries::ConvertInto(std::span<char> buffer) {
    char* out = buffer.data();
    const char* const last = out + buffer.size() - kMinimumRoom;
    if (!lineOpen_ && next_ != end_ && out <= last)
        out = StartEntry(out);
    while (next_ != end_ && out <= last) {
        out = ConvertPlain(out, last);
        if (next_ != end_ && out <= last)
            out = ConvertSpecial(out);
    }
    if (next_ == end_ && lineOpen_ && last_ && out <= last) {
        *out++ = '\n';
        lineOpen_ = false;
    }
    return out - buffer.data();
}
