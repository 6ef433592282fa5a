#include "platform/TextLines.h"

#include "platform/Failure.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace {

// Where the line after the first break at or after `from` begins, or -1 when there is none.
qsizetype NextLineStart(QStringView text, qsizetype from) {
    const auto* units = reinterpret_cast<const char16_t*>(text.utf16());
    const qsizetype size = text.size();
    for (qsizetype i = from; i < size; ++i) {
        const char16_t unit = units[i];
        if (unit > u'\r' || (unit != u'\r' && unit != u'\n'))
            continue;
        return unit == u'\r' && i + 1 < size && units[i + 1] == u'\n' ? i + 2 : i + 1;
    }
    return -1;
}

std::uint32_t Narrow(qsizetype position) {
    if (position > std::numeric_limits<std::uint32_t>::max())
        throw Failure(QStringLiteral("The text is too large for a pane"));
    return static_cast<std::uint32_t>(position);
}

} // namespace

TextLines::TextLines(QStringView text) {
    Narrow(text.size());
    starts_.push_back(0);
    for (qsizetype start = NextLineStart(text, 0); start >= 0; start = NextLineStart(text, start))
        starts_.push_back(static_cast<std::uint32_t>(start));
    // Kept as long as the text: a text of short lines would otherwise hold up to twice its index.
    starts_.shrink_to_fit();
}

qsizetype TextLines::End(QStringView text, qsizetype line) const {
    if (line + 1 >= Count())
        return text.size();
    const qsizetype next = Start(line + 1);
    const bool crlf = next - 2 >= Start(line) && text[next - 1] == u'\n' && text[next - 2] == u'\r';
    return next - (crlf ? 2 : 1);
}

qsizetype TextLines::LineAt(qsizetype position) const {
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), position,
                                        [](qsizetype p, std::uint32_t start) { return p < start; });
    return std::max<qsizetype>(0, std::distance(starts_.begin(), after) - 1);
}

// Lines are cut again from the start of the line before the edit (a CR there may now meet an LF)
// until a line starts past the inserted units where an old line started, moved by the edit: the
// units before such a start are the old ones, so every later start is an old one moved along.
void TextLines::Update(QStringView text, qsizetype position, qsizetype removed,
                       qsizetype inserted) {
    Narrow(text.size());
    const qsizetype delta = inserted - removed;
    const qsizetype first = LineAt(std::max<qsizetype>(position - 1, 0));
    auto old = std::upper_bound(starts_.begin(), starts_.end(), position + removed,
                                [](qsizetype p, std::uint32_t start) { return p < start; });
    // No start lies between the first line's start and the unit before the edit, so the cutting
    // may begin there: a long line is not read again from its start for each key typed.
    const qsizetype from = std::max(Start(first), position - 1);
    std::vector<std::uint32_t> cut;
    bool resynced = false;
    for (qsizetype next = NextLineStart(text, std::max<qsizetype>(from, 0)); next >= 0;
         next = NextLineStart(text, next)) {
        while (old != starts_.end() && *old + delta < next)
            ++old;
        if (next > position + inserted && old != starts_.end() && *old + delta == next) {
            resynced = true;
            break;
        }
        cut.push_back(Narrow(next));
    }
    // The later starts move where they are: a copy of them would hold as much again as the
    // index of a text of millions of lines, for each edit near its top.
    const auto kept = resynced ? old : starts_.end();
    for (auto start = kept; start != starts_.end(); ++start)
        *start = static_cast<std::uint32_t>(*start + delta);
    const auto recut = starts_.erase(starts_.begin() + first + 1, kept);
    starts_.insert(recut, cut.begin(), cut.end());
}
