#include "platform/SourceLineIndex.h"

#include <algorithm>

qsizetype SourceLineIndex::LineAt(qsizetype position) {
    position = std::clamp<qsizetype>(position, 0, text_.size());
    const auto block = static_cast<std::size_t>(position / kBlock);
    while (before_.size() <= block) {
        const qsizetype from = static_cast<qsizetype>(before_.size() - 1) * kBlock;
        before_.push_back(before_.back() +
                          static_cast<std::uint32_t>(BreaksIn(from, from + kBlock)));
    }
    const qsizetype start = static_cast<qsizetype>(block) * kBlock;
    return before_[block] + BreaksIn(start, position);
}

// A break ends at an LF, or at a CR that no LF follows: counted so, each unit needs only the one
// after it, and a block is counted in one pass the compiler can vectorise.
qsizetype SourceLineIndex::BreaksIn(qsizetype from, qsizetype to) const {
    const auto* units = reinterpret_cast<const char16_t*>(text_.utf16());
    const qsizetype size = text_.size();
    const qsizetype paired = std::min(to, size - 1); // units with one after them
    std::uint16_t breaks = 0;                        // a block holds fewer than 65536
    for (qsizetype i = from; i < paired; ++i)
        breaks += static_cast<std::uint16_t>((units[i] == u'\n') |
                                             ((units[i] == u'\r') & (units[i + 1] != u'\n')));
    if (to >= size && size > from && (units[size - 1] == u'\n' || units[size - 1] == u'\r'))
        ++breaks;
    return breaks;
}
