#include "cli/ByteLookalikeLines.h"

#include "cli/ByteLinesReport.h"

#include "compare/FirstLookalikes.h"
#include "compare/LineIndex.h"
#include "compare/LookalikeLines.h"
#include "compare/LooseKey.h"

#include <QString>

#include <algorithm>
#include <bit>
#include <future>
#include <string>

namespace {

// What sieving holds for each missing piece: its sum, the sums sorted, whether a line has it,
// its filter bits, its place among those searched, and its look-alike.
constexpr qint64 kSieveBytesPerMissing = 8 + 8 + 1 + 2 + 4 + 8;
// ... and for each line of the other text at most: its place among the lines that pass.
constexpr qint64 kSieveBytesPerLine = 4;
// What searching holds beside the decoded units: for a missing piece as much as the search of
// decoded texts reckons (LookalikeSearchBytes), and for a line that passed its place in the index
// of those lines.
constexpr qint64 kSearchBytesPerMissing = 160;
constexpr qint64 kSearchBytesPerLine = 16;
constexpr qint64 kSearchBytesPerUnit = 4; // keying one line at a time, of the longest
// The decoded lines are indexed as one text, which must stay under 2^32 units.
constexpr qint64 kMostDecodedUnits = (qint64{1} << 32) - 2;

// Lines too long for the search are passed over, as in the decoded texts (in their units).
bool SearchedAtAll(std::string_view content) {
    return content.size() <= compare::kLongestLookalikeLine ||
           Utf16Units(content) <= compare::kLongestLookalikeLine;
}

// The distinct key sums of a text's missing pieces, looked up for every line of the other text:
// two bits of one word of a filter for each, which stays in the cache, so that most lines go no
// further, then the sums sorted; and which of them a line of the other text has.
class MissingKeySums {
public:
    explicit MissingKeySums(std::vector<std::uint64_t> sums) : sorted_(std::move(sums)) {
        std::sort(sorted_.begin(), sorted_.end());
        sorted_.erase(std::unique(sorted_.begin(), sorted_.end()), sorted_.end());
        filter_.assign(std::bit_ceil(std::max<std::size_t>(sorted_.size() / 8, 16)), 0);
        filterShift_ = 64 - std::countr_zero(filter_.size());
        for (const std::uint64_t sum : sorted_)
            filter_[FilterWord(sum)] |= FilterBits(sum);
        shared_.assign(sorted_.size(), false);
    }

    // Whether a missing piece has the sum; if so it is noted as shared.
    bool Share(std::uint64_t sum) {
        const std::uint64_t bits = FilterBits(sum);
        if ((filter_[FilterWord(sum)] & bits) != bits)
            return false;
        const auto at = std::lower_bound(sorted_.begin(), sorted_.end(), sum);
        if (at == sorted_.end() || *at != sum)
            return false;
        shared_[static_cast<std::size_t>(at - sorted_.begin())] = true;
        return true;
    }
    // Whether a line of the other text has the sum.
    bool Shared(std::uint64_t sum) const {
        const auto at = std::lower_bound(sorted_.begin(), sorted_.end(), sum);
        return at != sorted_.end() && *at == sum &&
               shared_[static_cast<std::size_t>(at - sorted_.begin())];
    }

private:
    std::size_t FilterWord(std::uint64_t sum) const {
        return static_cast<std::size_t>(sum >> filterShift_);
    }
    static std::uint64_t FilterBits(std::uint64_t sum) {
        return std::uint64_t{1} << (sum & 63) | std::uint64_t{1} << (sum >> 6 & 63);
    }

    std::vector<std::uint64_t> sorted_;
    std::vector<std::uint64_t> filter_;
    std::vector<bool> shared_;
    int filterShift_ = 0;
};

// One direction sieved: the missing pieces (as places in the list of them) and the lines of the
// other text that share a key sum, each in order, and what decoding and searching them takes.
struct SievedLines {
    std::vector<std::uint32_t> missing;
    std::vector<std::uint32_t> lines;
    qint64 units = 0;   // decoded, with a break for each
    qint64 longest = 0; // of the missing pieces, in units
};

SievedLines SieveByKeySum(const ByteLines& own, const std::vector<std::uint32_t>& missing,
                          const ByteLines& other) {
    SievedLines sieved;
    if (missing.empty())
        return sieved;
    std::vector<std::uint64_t> sums(missing.size());
    std::vector<bool> searched(missing.size());
    for (std::size_t i = 0; i < missing.size(); ++i) {
        const std::string_view content = own.Content(missing[i]);
        searched[i] = SearchedAtAll(content);
        if (searched[i])
            sums[i] = compare::LooseKeySum(content);
    }
    std::vector<std::uint64_t> searchedSums;
    for (std::size_t i = 0; i < missing.size(); ++i)
        if (searched[i])
            searchedSums.push_back(sums[i]);
    MissingKeySums keySums(std::move(searchedSums));
    for (std::size_t line = 0; line < other.PieceCount(); ++line) {
        const std::string_view content = other.Content(line);
        if (SearchedAtAll(content) && keySums.Share(compare::LooseKeySum(content))) {
            sieved.lines.push_back(static_cast<std::uint32_t>(line));
            sieved.units += static_cast<qint64>(Utf16Units(content)) + 2;
        }
    }
    if (sieved.lines.empty())
        return sieved;
    for (std::size_t i = 0; i < missing.size(); ++i)
        if (searched[i] && keySums.Shared(sums[i])) {
            sieved.missing.push_back(static_cast<std::uint32_t>(i));
            const auto units = static_cast<qint64>(Utf16Units(own.Content(missing[i])));
            sieved.units += units + 1;
            sieved.longest = std::max(sieved.longest, units);
        }
    return sieved;
}

qint64 SearchBytes(const SievedLines& sieved) {
    if (sieved.missing.empty())
        return 0;
    return qint64{sizeof(char16_t)} * sieved.units +
           kSearchBytesPerMissing * static_cast<qint64>(sieved.missing.size()) +
           kSearchBytesPerLine * static_cast<qint64>(sieved.lines.size()) +
           kSearchBytesPerUnit * sieved.longest + qint64{compare::kFirstLookalikesBytes};
}

void AppendDecodedLine(std::u16string& text, std::string_view utf8) {
    if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return (c & 0x80) == 0; })) {
        text.append(utf8.begin(), utf8.end());
        return;
    }
    const QString decoded = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    text.append(reinterpret_cast<const char16_t*>(decoded.utf16()),
                static_cast<std::size_t>(decoded.size()));
}

// The sieved missing pieces and lines decoded, and searched as decoded texts are. Each decoded
// line has an LF in front, so that a content that begins with one keeps it.
ByteLookalikes SearchSievedLines(const ByteLines& own, const std::vector<std::uint32_t>& missing,
                                 const ByteLines& other, const SievedLines& sieved) {
    ByteLookalikes found(missing.size());
    if (sieved.missing.empty())
        return found;
    std::u16string missingText;
    std::vector<compare::Piece> pieces;
    pieces.reserve(sieved.missing.size());
    for (const std::uint32_t i : sieved.missing) {
        const std::size_t start = missingText.size();
        missingText.push_back(u'\n');
        AppendDecodedLine(missingText, own.Content(missing[i]));
        pieces.push_back({start, missingText.size() - start});
    }
    std::u16string linesText;
    for (const std::uint32_t line : sieved.lines) {
        if (!linesText.empty())
            linesText.push_back(u'\r');
        linesText.push_back(u'\n');
        AppendDecodedLine(linesText, other.Content(line));
    }
    const compare::LineIndex lines(linesText);
    const std::vector<std::optional<compare::LineLookalike>> lookalikes =
        compare::FindLookalikeLines(missingText, pieces, lines);
    for (std::size_t i = 0; i < lookalikes.size(); ++i)
        if (lookalikes[i])
            found[sieved.missing[i]] =
                ByteLookalike{sieved.lines[lookalikes[i]->line - 1], lookalikes[i]->kinds};
    return found;
}

} // namespace

std::optional<std::array<ByteLookalikes, 2>>
FindByteLookalikes(const ByteLines& first, const std::vector<std::uint32_t>& missingOfFirst,
                   const ByteLines& second, const std::vector<std::uint32_t>& missingOfSecond,
                   qint64 room) {
    const qint64 sieving =
        kSieveBytesPerMissing *
            static_cast<qint64>(missingOfFirst.size() + missingOfSecond.size()) +
        kSieveBytesPerLine * static_cast<qint64>(first.PieceCount() + second.PieceCount());
    if (sieving > room)
        return std::nullopt;
    auto secondSieved = std::async(std::launch::async,
                                   [&] { return SieveByKeySum(second, missingOfSecond, first); });
    const SievedLines firstSieved = SieveByKeySum(first, missingOfFirst, second);
    const SievedLines secondSievedNow = secondSieved.get();
    if (firstSieved.units > kMostDecodedUnits || secondSievedNow.units > kMostDecodedUnits ||
        sieving + SearchBytes(firstSieved) + SearchBytes(secondSievedNow) > room)
        return std::nullopt;
    auto ofSecond = std::async(std::launch::async, [&] {
        return SearchSievedLines(second, missingOfSecond, first, secondSievedNow);
    });
    std::array<ByteLookalikes, 2> found;
    found[0] = SearchSievedLines(first, missingOfFirst, second, firstSieved);
    found[1] = ofSecond.get();
    return found;
}
