#include "compare/RepeatedLines.h"

#include "compare/ContentHash.h"
#include "compare/Lines.h"

#include <algorithm>
#include <future>

namespace compare {

namespace {

// How often each line stands in the text, kept at the line's first piece (0 elsewhere).
std::vector<std::uint32_t> Occurrences(const LineIndex& text) {
    std::vector<std::uint32_t> counts(text.PieceCount(), 0);
    text.ForEachFirstPieceIn(
        text, 0, text.PieceCount(),
        [&](std::size_t, std::optional<std::size_t> first) { ++counts[*first]; });
    return counts;
}

} // namespace

std::pair<RepeatedLines, RepeatedLines> RepeatedLines::OfBoth(const LineIndex& first,
                                                              const LineIndex& second) {
    // Each step looks up every line of a text in a table far larger than the cache, and waits on
    // memory most of the time: the two texts are counted side by side.
    auto countingSecond = std::async(std::launch::async, [&] { return Occurrences(second); });
    const std::vector<std::uint32_t> inFirst = Occurrences(first);
    const std::vector<std::uint32_t> inSecond = countingSecond.get();
    auto ofSecond =
        std::async(std::launch::async, [&] { return Of(second, inSecond, first, inFirst); });
    RepeatedLines ofFirst = Of(first, inFirst, second, inSecond);
    return {std::move(ofFirst), ofSecond.get()};
}

RepeatedLines RepeatedLines::Of(const LineIndex& own, const std::vector<std::uint32_t>& here,
                                const LineIndex& other, const std::vector<std::uint32_t>& there) {
    RepeatedLines repeated;
    // Every piece is looked up, not only each line's first, so that the walk can ask ahead for
    // what its lookups will read.
    own.ForEachFirstPieceIn(
        other, 0, own.PieceCount(), [&](std::size_t piece, std::optional<std::size_t> elsewhere) {
            if (here[piece] == 0)
                return; // not a line's first piece
            const std::uint32_t thereCount = elsewhere ? there[*elsewhere] : 0;
            if (here[piece] < 2 && thereCount < 2)
                return;
            const std::u16string_view content = own.Content(piece);
            const auto start = static_cast<std::uint32_t>(content.data() - own.Text().data());
            repeated.entries_.push_back({ContentHash(content),
                                         start,
                                         static_cast<std::uint32_t>(content.size()),
                                         {here[piece], thereCount}});
        });
    std::sort(repeated.entries_.begin(), repeated.entries_.end(),
              [](const Entry& a, const Entry& b) { return a.hash < b.hash; });
    repeated.entries_.shrink_to_fit();
    return repeated;
}

std::optional<RepeatedLines::Counts> RepeatedLines::Find(std::u16string_view content,
                                                         std::u16string_view ownText) const {
    const std::uint32_t hash = ContentHash(content);
    auto at = std::lower_bound(entries_.begin(), entries_.end(), hash,
                               [](const Entry& entry, std::uint32_t h) { return entry.hash < h; });
    for (; at != entries_.end() && at->hash == hash; ++at)
        if (ownText.substr(at->start, at->length) == content)
            return at->counts;
    return std::nullopt;
}

} // namespace compare
