#include "compare/RepeatedLines.h"

#include "compare/ContentHash.h"
#include "compare/Lines.h"

#include <algorithm>

namespace compare {

namespace {

// How often each line stands in the text, kept at the line's first piece (0 elsewhere).
std::vector<std::uint32_t> Occurrences(const LineIndex& text) {
    std::vector<std::uint32_t> counts(text.PieceCount(), 0);
    for (std::size_t piece = 0; piece < text.PieceCount(); ++piece)
        ++counts[text.FirstPieceLike(piece)];
    return counts;
}

std::u16string_view ContentOf(const LineIndex& text, std::size_t piece) {
    const Piece place = text.PieceAt(piece);
    return LineContent(text.Text().substr(place.start, place.length));
}

} // namespace

std::pair<RepeatedLines, RepeatedLines> RepeatedLines::OfBoth(const LineIndex& first,
                                                              const LineIndex& second) {
    const std::vector<std::uint32_t> inFirst = Occurrences(first);
    const std::vector<std::uint32_t> inSecond = Occurrences(second);
    return {Of(first, inFirst, second, inSecond), Of(second, inSecond, first, inFirst)};
}

RepeatedLines RepeatedLines::Of(const LineIndex& own, const std::vector<std::uint32_t>& here,
                                const LineIndex& other, const std::vector<std::uint32_t>& there) {
    RepeatedLines repeated;
    for (std::size_t piece = 0; piece < own.PieceCount(); ++piece) {
        if (here[piece] == 0)
            continue; // not a line's first piece
        const std::u16string_view content = ContentOf(own, piece);
        const std::optional<std::size_t> elsewhere = other.FirstPieceWith(content);
        const std::uint32_t thereCount = elsewhere ? there[*elsewhere] : 0;
        if (here[piece] < 2 && thereCount < 2)
            continue;
        const auto start = static_cast<std::uint32_t>(content.data() - own.Text().data());
        repeated.entries_.push_back({ContentHash(content),
                                     start,
                                     static_cast<std::uint32_t>(content.size()),
                                     {here[piece], thereCount}});
    }
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
