#include "cli/ByteLookalikeLines.h"

#include "cli/ByteLinesReport.h"

#include "compare/FirstLookalikes.h"
#include "compare/LineIndex.h"
#include "compare/LookalikeLines.h"
#include "compare/LooseKey.h"
#include "compare/Prefetch.h"
#include "compare/SideBySide.h"

#include <QString>
#include <QStringDecoder>

#include <algorithm>
#include <bit>
#include <ranges>
#include <string>

namespace {

// What sieving holds for each missing piece: its sum, its slot in a table at most two thirds full
// and its filter bits, its place among those searched, and its look-alike.
constexpr qint64 kSieveBytesPerMissing = 8 + 16 + 1 + 4 + 12;
// ... and for each piece of the text read, at most: whether it is missing, and for each direction
// it may be a candidate of, the line and its sum, the sum again in a list and a table, and its
// place among the lines searched.
constexpr qint64 kSieveBytesPerPiece = 1 + 2 * (16 + 8 + 16 + 4);
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

// The distinct key sums of a text's missing pieces, looked up for lines of the other text: two
// bits of one word of a filter for each, which stays in the cache, so that most lines go no
// further, then a table of the sums (open addressing, linear probing, from a third to two thirds
// full).
class MissingKeySums {
public:
    // All of `sums` but those `passedOver` marks (none when it is empty).
    explicit MissingKeySums(const std::vector<std::uint64_t>& sums,
                            const std::vector<bool>& passedOver = {}) {
        filter_.assign(std::bit_ceil(std::max<std::size_t>(sums.size() / 8, 16)), 0);
        filterShift_ = 64 - std::countr_zero(filter_.size());
        slots_.assign(std::bit_ceil(std::max<std::size_t>(sums.size() + sums.size() / 2, 16)),
                      kEmpty);
        mask_ = slots_.size() - 1;
        // The slots are far larger than the cache: each is asked for a few sums ahead.
        constexpr std::size_t kSumSlotAhead = 8;
        for (std::size_t i = 0; i < sums.size(); ++i) {
            if (i + kSumSlotAhead < sums.size())
                TARNWICK_PREFETCH(
                    &slots_[static_cast<std::size_t>(sums[i + kSumSlotAhead]) & mask_]);
            if (!passedOver.empty() && passedOver[i])
                continue;
            const std::uint64_t sum = sums[i];
            filter_[FilterWord(sum)] |= FilterBits(sum);
            if (sum == kEmpty)
                holdsEmpty_ = true;
            else
                slots_[SlotOf(sum)] = sum;
        }
    }

    void PrefetchFilter(std::uint64_t sum) const { TARNWICK_PREFETCH(&filter_[FilterWord(sum)]); }
    // Whether the filter lets the sum through, and if so its slot asked for: few sums that pass
    // are not in the table.
    bool MayHave(std::uint64_t sum) const {
        const std::uint64_t bits = FilterBits(sum);
        if ((filter_[FilterWord(sum)] & bits) != bits)
            return false;
        TARNWICK_PREFETCH(&slots_[static_cast<std::size_t>(sum) & mask_]);
        return true;
    }
    bool Has(std::uint64_t sum) const {
        const std::uint64_t bits = FilterBits(sum);
        if ((filter_[FilterWord(sum)] & bits) != bits)
            return false;
        return sum == kEmpty ? holdsEmpty_ : slots_[SlotOf(sum)] == sum;
    }

private:
    static constexpr std::uint64_t kEmpty = 0;

    // The slot that holds the sum, or the empty one where it would go.
    std::size_t SlotOf(std::uint64_t sum) const {
        std::size_t slot = static_cast<std::size_t>(sum) & mask_;
        while (slots_[slot] != kEmpty && slots_[slot] != sum)
            slot = (slot + 1) & mask_;
        return slot;
    }
    std::size_t FilterWord(std::uint64_t sum) const {
        return static_cast<std::size_t>(sum >> filterShift_);
    }
    static std::uint64_t FilterBits(std::uint64_t sum) {
        return std::uint64_t{1} << (sum & 63) | std::uint64_t{1} << (sum >> 6 & 63);
    }

    std::vector<std::uint64_t> filter_;
    int filterShift_ = 0;
    std::vector<std::uint64_t> slots_;
    std::size_t mask_ = 0;
    bool holdsEmpty_ = false;
};

// The key sums of a text's missing pieces: each piece's, but for those too long for the search,
// and all of them to look up.
struct MissingPieceSums {
    std::vector<std::uint64_t> ofPiece;
    std::vector<bool> passedOver; // a bit a piece, or empty when none is
    MissingKeySums lookedUp;

    std::optional<std::uint64_t> Of(std::size_t piece) const {
        if (!passedOver.empty() && passedOver[piece])
            return std::nullopt;
        return ofPiece[piece];
    }
};

MissingPieceSums SumsOfMissing(const ByteLookalikeText& text) {
    std::vector<std::uint64_t> sums(text.missing.size());
    std::vector<bool> passedOver;
    // Missing pieces stand far apart in a large text: each would wait for where it stands and
    // then for its bytes to be read from memory unless both were asked for a few pieces ahead.
    constexpr std::size_t kMissingPlaceAhead = 16;
    constexpr std::size_t kMissingBytesAhead = 8;
    const std::size_t count = text.missing.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (i + kMissingPlaceAhead < count)
            text.lines.Prefetch(text.missing[i + kMissingPlaceAhead]);
        if (i + kMissingBytesAhead < count)
            TARNWICK_PREFETCH(text.lines.Content(text.missing[i + kMissingBytesAhead]).data());
        const std::string_view content = text.lines.Content(text.missing[i]);
        if (SearchedAtAll(content)) {
            sums[i] = compare::LooseKeySum(content);
        } else {
            passedOver.resize(count);
            passedOver[i] = true;
        }
    }
    MissingKeySums lookedUp(sums, passedOver);
    return {std::move(sums), std::move(passedOver), std::move(lookedUp)};
}

// A line that shares a key sum with a missing piece of the other text.
struct SharingLine {
    std::uint32_t piece;
    std::uint64_t sum;
    friend auto operator<=>(const SharingLine&, const SharingLine&) = default;
};

// The first piece of `text` with the content of piece `piece` of `lines`, which it must have.
std::uint32_t FirstPieceWithContentOf(const ByteLookalikeText& text, const ByteLines& lines,
                                      std::size_t piece) {
    const std::uint64_t place =
        text.table.PlaceIn(text.table.SlotOf(lines.Content(piece), lines.Hash(piece)));
    // The first piece whose content starts at the place.
    const auto pieces = std::views::iota(std::size_t{0}, text.lines.PieceCount());
    const auto first = std::ranges::partition_point(
        pieces, [&](std::size_t each) { return text.lines.Place(each) < place; });
    return static_cast<std::uint32_t>(std::ranges::distance(pieces.begin(), first));
}

// What a stretch of the first text's lines share with the missing pieces: its lines with the sum
// of a missing piece of the second (candidates for those pieces), and its lines that the second
// text has with the sum of a missing piece of the first, as the first of those lines of the second
// (which they stand in for).
struct SharedStretch {
    std::vector<SharingLine> forSecond;
    std::vector<SharingLine> standIns;
};

SharedStretch SieveStretch(const ByteLines& lines, const std::vector<bool>& missingHere,
                           const ByteLookalikeText& second, const MissingKeySums& ofFirst,
                           const MissingKeySums& ofSecond, std::size_t from, std::size_t to) {
    // The lines go in batches: the sum of each line of a batch first, its words of the filters
    // asked for meanwhile (the text read through the cache pushes them out), then the filters
    // looked at and the slots of the sums that pass asked for, then those looked up.
    constexpr std::size_t kSievedBatch = 16;
    std::uint64_t sums[kSievedBatch];
    bool searched[kSievedBatch];
    bool maySecond[kSievedBatch];
    bool mayFirst[kSievedBatch];
    SharedStretch shared;
    for (std::size_t batch = from; batch < to; batch += kSievedBatch) {
        const std::size_t count = std::min(kSievedBatch, to - batch);
        for (std::size_t i = 0; i < count; ++i) {
            const std::string_view content = lines.Content(batch + i);
            searched[i] = SearchedAtAll(content);
            if (!searched[i])
                continue;
            sums[i] = compare::LooseKeySum(content);
            ofFirst.PrefetchFilter(sums[i]);
            ofSecond.PrefetchFilter(sums[i]);
        }
        for (std::size_t i = 0; i < count; ++i) {
            maySecond[i] = searched[i] && ofSecond.MayHave(sums[i]);
            mayFirst[i] = searched[i] && !missingHere[batch + i] && ofFirst.MayHave(sums[i]);
        }
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t piece = batch + i;
            if (maySecond[i] && ofSecond.Has(sums[i]))
                shared.forSecond.push_back({static_cast<std::uint32_t>(piece), sums[i]});
            if (mayFirst[i] && ofFirst.Has(sums[i]))
                shared.standIns.push_back({FirstPieceWithContentOf(second, lines, piece), sums[i]});
        }
    }
    return shared;
}

// One direction sieved: the missing pieces (as places in the list of them) and the lines of the
// other text that share a key sum, each in order, and what decoding and searching them takes.
struct SievedLines {
    std::vector<std::uint32_t> missing;
    std::vector<std::uint32_t> lines;
    qint64 units = 0;   // decoded, with a break for each
    qint64 longest = 0; // of the missing pieces, in units
};

// The direction's missing pieces that share a sum with one of `sharing`, the lines of `other`.
SievedLines SieveDirection(const ByteLookalikeText& own, const MissingPieceSums& sums,
                           std::vector<SharingLine> sharing, const ByteLines& other) {
    SievedLines sieved;
    std::sort(sharing.begin(), sharing.end());
    sharing.erase(std::unique(sharing.begin(), sharing.end()), sharing.end());
    std::vector<std::uint64_t> sharedSums;
    for (const SharingLine& line : sharing) {
        sieved.lines.push_back(line.piece);
        sieved.units += static_cast<qint64>(Utf16Units(other.Content(line.piece))) + 2;
        sharedSums.push_back(line.sum);
    }
    if (sharing.empty())
        return sieved;
    const MissingKeySums shared(sharedSums);
    for (std::size_t i = 0; i < own.missing.size(); ++i)
        if (const std::optional<std::uint64_t> sum = sums.Of(i); sum && shared.Has(*sum)) {
            sieved.missing.push_back(static_cast<std::uint32_t>(i));
            const auto units = static_cast<qint64>(Utf16Units(own.lines.Content(own.missing[i])));
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
    // A byte-order mark that begins a line is a character of it, as the decoded text holds it.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    const QString decoded =
        decoder.decode(QByteArrayView(utf8.data(), static_cast<qsizetype>(utf8.size())));
    text.append(reinterpret_cast<const char16_t*>(decoded.utf16()),
                static_cast<std::size_t>(decoded.size()));
}

// The sieved missing pieces and lines decoded, and searched as decoded texts are. Each decoded
// line has an LF in front, so that a content that begins with one keeps it.
ByteLookalikes SearchSievedLines(const ByteLookalikeText& own, const ByteLines& other,
                                 const SievedLines& sieved) {
    ByteLookalikes found(own.missing.size());
    if (sieved.missing.empty())
        return found;
    std::u16string missingText;
    std::vector<compare::Piece> pieces;
    pieces.reserve(sieved.missing.size());
    for (const std::uint32_t i : sieved.missing) {
        const std::size_t start = missingText.size();
        missingText.push_back(u'\n');
        AppendDecodedLine(missingText, own.lines.Content(own.missing[i]));
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
FindByteLookalikes(const ByteLookalikeText& first, const ByteLookalikeText& second, qint64 room) {
    const qint64 sieving =
        kSieveBytesPerMissing * static_cast<qint64>(first.missing.size() + second.missing.size()) +
        kSieveBytesPerPiece * static_cast<qint64>(first.lines.PieceCount());
    if (sieving > room)
        return std::nullopt;
    const auto [firstSums, secondSums] =
        compare::SideBySide([&](int side) { return SumsOfMissing(side == 0 ? first : second); });

    // The first text is read in two halves side by side; the missing pieces of the second are
    // candidates for those of the first as they stand.
    std::vector<bool> missingInFirst(first.lines.PieceCount());
    for (const std::uint32_t piece : first.missing)
        missingInFirst[piece] = true;
    const std::size_t half = first.lines.PieceCount() / 2;
    auto [shared, later] = compare::SideBySide([&](int part) {
        return SieveStretch(first.lines, missingInFirst, second, firstSums.lookedUp,
                            secondSums.lookedUp, part == 0 ? 0 : half,
                            part == 0 ? half : first.lines.PieceCount());
    });
    std::vector<SharingLine> forFirst;
    for (std::size_t i = 0; i < second.missing.size(); ++i)
        if (const std::optional<std::uint64_t> sum = secondSums.Of(i);
            sum && firstSums.lookedUp.Has(*sum))
            forFirst.push_back({second.missing[i], *sum});
    shared.forSecond.insert(shared.forSecond.end(), later.forSecond.begin(), later.forSecond.end());
    shared.standIns.insert(shared.standIns.end(), later.standIns.begin(), later.standIns.end());
    forFirst.insert(forFirst.end(), shared.standIns.begin(), shared.standIns.end());

    const auto [firstSieved, secondSieved] = compare::SideBySide([&](int side) {
        return side == 0
                   ? SieveDirection(first, firstSums, std::move(forFirst), second.lines)
                   : SieveDirection(second, secondSums, std::move(shared.forSecond), first.lines);
    });
    if (firstSieved.units > kMostDecodedUnits || secondSieved.units > kMostDecodedUnits ||
        sieving + SearchBytes(firstSieved) + SearchBytes(secondSieved) > room)
        return std::nullopt;
    auto [ofFirst, ofSecond] = compare::SideBySide([&](int side) {
        return side == 0 ? SearchSievedLines(first, second.lines, firstSieved)
                         : SearchSievedLines(second, first.lines, secondSieved);
    });
    return std::array<ByteLookalikes, 2>{std::move(ofFirst), std::move(ofSecond)};
}
