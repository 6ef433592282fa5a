#include "cli/EntryPlaces.h"

namespace {

constexpr std::size_t kBlockBytes = std::size_t{1} << 20;
constexpr std::size_t kMaxVarint = 10;

} // namespace

void EntryPlaces::Put(std::uint64_t value) {
    std::vector<std::uint8_t>& block = blocks_.back();
    while (value >= 0x80) {
        block.push_back(static_cast<std::uint8_t>(value | 0x80));
        value >>= 7;
    }
    block.push_back(static_cast<std::uint8_t>(value));
}

void EntryPlaces::Entry(std::u16string_view a, std::u16string_view, std::size_t start,
                        std::size_t length) {
    if (!complete_)
        return;
    if (blocks_.empty() || blocks_.back().size() + 2 * kMaxVarint > kBlockBytes) {
        if (!room_.Take(kBlockBytes)) {
            Release();
            complete_ = false;
            return;
        }
        blocks_.emplace_back().reserve(kBlockBytes);
    }
    // A line's entry is its piece; a word's is the word.
    const std::size_t units = mode_ == CliOptions::Mode::Lines ? a.size() : length;
    Put(start - lastEnd_);
    Put(units);
    lastEnd_ = start + units;
}

Pass EntryPlaces::Replay(std::u16string_view text) const {
    return [this, text](EntrySink& sink) {
        const bool lines = mode_ == CliOptions::Mode::Lines;
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
                    sink.Entry(entry, u"\r", start, units + (end < text.size() ? 1 : 0));
                else
                    sink.Entry(u"\r\n", entry, start, units);
            }
        }
    };
}

void EntryPlaces::Release() {
    room_.GiveBack(static_cast<qint64>(blocks_.size() * kBlockBytes));
    blocks_ = {};
}
