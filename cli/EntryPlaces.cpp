#include "cli/EntryPlaces.h"

namespace {

constexpr std::size_t kBlockBytes = std::size_t{1} << 20;
constexpr std::size_t kMaxVarint = 10;
constexpr std::size_t kLookalikesABlock = 4096;

} // namespace

void EntryPlaces::Put(std::uint64_t value) {
    std::vector<std::uint8_t>& block = blocks_.back();
    while (value >= 0x80) {
        block.push_back(static_cast<std::uint8_t>(value | 0x80));
        value >>= 7;
    }
    block.push_back(static_cast<std::uint8_t>(value));
}

bool EntryPlaces::TakeBlock(std::size_t bytes) {
    if (room_.Take(static_cast<qint64>(bytes)))
        return true;
    Release();
    complete_ = false;
    return false;
}

void EntryPlaces::Entry(std::u16string_view a, std::u16string_view, std::size_t start,
                        std::size_t length, EntryLine) {
    ++entries_;
    if (!complete_)
        return;
    if (blocks_.empty() || blocks_.back().size() + 2 * kMaxVarint > kBlockBytes) {
        if (!TakeBlock(kBlockBytes))
            return;
        blocks_.emplace_back().reserve(kBlockBytes);
    }
    // A line's entry is its piece; a word's is the word.
    const std::size_t units = mode_ == CliOptions::Mode::Lines ? a.size() : length;
    Put(start - lastEnd_);
    Put(units);
    lastEnd_ = start + units;
}

void EntryPlaces::Lookalike(const EntryLookalike& lookalike) {
    if (!complete_)
        return;
    if (lookalikes_.empty() || lookalikes_.back().size() == kLookalikesABlock) {
        if (!TakeBlock(kLookalikesABlock * sizeof(KeptLookalike)))
            return;
        lookalikes_.emplace_back().reserve(kLookalikesABlock);
    }
    lookalikes_.back().push_back({entries_ - 1, lookalike});
}

Pass EntryPlaces::Replay(std::u16string_view text) const {
    return [this, text](EntrySink& sink) {
        const bool lines = mode_ == CliOptions::Mode::Lines;
        // The look-alikes in order, each given after its entry.
        std::size_t entryNumber = 0;
        auto kept = lookalikes_.begin();
        std::size_t keptNext = 0;
        const auto lookalikesOfEntry = [&] {
            while (kept != lookalikes_.end() && (*kept)[keptNext].entry == entryNumber) {
                sink.Lookalike((*kept)[keptNext].lookalike);
                if (++keptNext == kept->size()) {
                    ++kept;
                    keptNext = 0;
                }
            }
            ++entryNumber;
        };
        std::size_t end = 0;
        for (const std::vector<std::uint8_t>& block : blocks_) {
            const std::uint8_t* at = block.data();
            const std::uint8_t* const blockEnd = at + block.size();
            const auto get = [&] {
                std::uint64_t value = 0;
                for (int shift = 0;; shift += 7) {
                    value |= std::uint64_t{*at & 0x7Fu} << shift;
                    if ((*at++ & 0x80) == 0)
                        return static_cast<std::size_t>(value);
                }
            };
            while (at != blockEnd) {
                const std::size_t start = end + get();
                const std::size_t units = get();
                end = start + units;
                const std::u16string_view entry = text.substr(start, units);
                if (lines)
                    sink.Entry(entry, u"\r", start, units + (end < text.size() ? 1 : 0), {});
                else
                    sink.Entry(u"\r\n", entry, start, units, {});
                lookalikesOfEntry();
            }
        }
    };
}

void EntryPlaces::Release() {
    room_.GiveBack(
        static_cast<qint64>(blocks_.size() * kBlockBytes +
                            lookalikes_.size() * kLookalikesABlock * sizeof(KeptLookalike)));
    blocks_ = {};
    lookalikes_ = {};
}
