#include "cli/ByteLookalikeReport.h"

#include "cli/LoadedUnits.h"
#include "cli/LookalikeSinks.h"

#include <algorithm>

void WriteJsonByteLookalikes(const ByteLines& own, const std::vector<std::uint32_t>& missing,
                             const SideByteLookalikes& lookalikes, ByteSink& out) {
    // Where the look-alikes stand in the other text is worked out in its order, in one walk.
    std::vector<std::uint32_t> others;
    for (const std::optional<ByteLookalike>& found : lookalikes.found)
        if (found)
            others.push_back(found->piece);
    std::sort(others.begin(), others.end());
    others.erase(std::unique(others.begin(), others.end()), others.end());
    LoadedUnits otherUnits(lookalikes.other);
    std::vector<std::size_t> otherStarts(others.size());
    for (std::size_t i = 0; i < others.size(); ++i)
        otherStarts[i] = otherUnits.StartOf(others[i]);

    LoadedUnits ownUnits(own);
    JsonLookalikes list(out);
    for (std::size_t i = 0; i < missing.size(); ++i) {
        const std::optional<ByteLookalike>& found = lookalikes.found[i];
        if (!found)
            continue;
        const auto other = static_cast<std::size_t>(
            std::lower_bound(others.begin(), others.end(), found->piece) - others.begin());
        list.Lookalike(EntryLookalike{
            ownUnits.StartOf(missing[i]), ownUnits.MarkedLength(missing[i]), otherStarts[other],
            otherUnits.MarkedLength(found->piece), std::size_t{found->piece} + 1, found->kinds});
    }
    list.Finish();
}
