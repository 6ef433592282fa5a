#include "cli/ByteLines.h"

#include "cli/BreakScan.h"
#include "cli/LineHash.h"
#include "platform/LargePages.h"

#include <algorithm>

namespace {

// Cut a block at a time, so that the bytes are still in the cache when their lines are hashed.
constexpr std::size_t kBlockBytes = std::size_t{1} << 16;

} // namespace

ByteLines::ByteLines(std::string_view bytes, Form form, std::size_t maxPieces,
                     RuleChangeMap* changes)
    : bytes_(bytes), form_(form), maxPieces_(maxPieces) {
    // Lines of a few dozen bytes are the common case; other texts grow the buffers as they go.
    const std::size_t expected = std::min(bytes.size() / 32, maxPieces) + 4;
    cuts_.reserve(expected);
    hashes_.reserve(expected);
    AdviseLargePages(cuts_.data(), expected * sizeof(std::uint64_t));
    AdviseLargePages(hashes_.data(), expected * sizeof(std::uint64_t));
    Cut(changes);
}

void ByteLines::Cut(RuleChangeMap* changes) {
    const bool exact = form_ == Form::Exact;
    const char* const data = bytes_.data();
    const std::size_t size = bytes_.size();
    std::vector<std::uint32_t> found(std::min(size, kBlockBytes));
    // The first piece, with nothing in front, but an LF that Exact text may begin with.
    cuts_.push_back(exact && size > 0 && data[0] == '\n' ? 1 << 2 : 0);
    if (exact && size == 0)
        return;
    std::size_t skipTo = 0; // the LF of a CR LF is no break of its own
    std::size_t hashed = 0;
    for (std::size_t block = 0; block < size; block += kBlockBytes) {
        const std::size_t length = std::min(kBlockBytes, size - block);
        const break_scan::Found breaks =
            break_scan::Scan(data + block, length, exact, found.data());
        nonAscii_ = nonAscii_ || breaks.nonAscii;
        for (std::size_t i = 0; i < breaks.count; ++i) {
            const std::size_t at = block + found[i];
            if (at < skipTo)
                continue;
            // A CR LF is one break; in Exact text a CR and the LF that its content goes without.
            const bool pair = data[at] == '\r' && at + 1 < size && data[at + 1] == '\n';
            const std::size_t breakBytes = pair ? 2 : 1;
            cuts_.push_back((std::uint64_t{at + breakBytes} << 2) | breakBytes);
            skipTo = at + breakBytes;
        }
        if (cuts_.size() > maxPieces_) {
            complete_ = false;
            cuts_ = {};
            hashes_ = {};
            changing_ = {};
            return;
        }
        if (changes)
            changes->MarkThrough(block + length);
        // Every piece but the last one cut so far is complete.
        HashPieces(hashed, cuts_.size() - 1, changes);
        hashed = cuts_.size() - 1;
    }
    if (changes)
        changes->MarkThrough(size);
    // The last line, and the empty piece after the CR a load appends.
    if (!exact)
        cuts_.push_back(std::uint64_t{size} << 2);
    cuts_.push_back(std::uint64_t{size} << 2);
    pieces_ = cuts_.size() - 1;
    HashPieces(hashed, pieces_, changes);
}

void ByteLines::HashPieces(std::size_t from, std::size_t to, const RuleChangeMap* changes) {
    hashes_.resize(to);
    if (changes)
        changing_.resize(to / 64 + 1);
    for (std::size_t piece = from; piece < to; ++piece) {
        const std::string_view content = Content(piece);
        hashes_[piece] = LineHash(content);
        longest_ = std::max(longest_, content.size());
        if (changes) {
            const auto at = static_cast<std::size_t>(content.data() - bytes_.data());
            changing_[piece / 64] |= std::uint64_t{changes->AnyIn(at, at + content.size())}
                                     << (piece % 64);
        }
    }
}
