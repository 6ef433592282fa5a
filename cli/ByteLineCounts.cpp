#include "cli/ByteLineCounts.h"

#include "cli/LineCounts.h"
#include "cli/LineHash.h"
#include "compare/Prefetch.h"

#include <algorithm>
#include <future>
#include <string_view>

namespace {

constexpr std::uint32_t kPieceBits = 0xFFFF'FFFFu;

// How often one text holds each of its contents as lines: once, but for the contents of its
// repeats, and less the pieces after its last line for the empty one.
class Tally {
public:
    Tally(const CountedText& text, bool appendedCR)
        : lines_(text.lines), table_(text.table), repeats_(text.repeats) {
        std::sort(text.repeats.begin(), text.repeats.end());
        const std::size_t pieces = lines_.PieceCount();
        const auto nothing = [&](std::size_t fromEnd) {
            return pieces > fromEnd && lines_.Content(pieces - 1 - fromEnd).empty();
        };
        after_ = static_cast<std::uint32_t>(
            PiecesAfterTheLastLine(pieces, nothing(0), nothing(1), appendedCR));
        constexpr std::string_view kEmpty = "";
        if (after_ > 0)
            emptySlot_ = table_.SlotOf(kEmpty, LineHash(kEmpty));
        for (std::size_t i = 0; i < repeats_.size(); i = RunEnd(i))
            ++runs_;
    }

    const ByteLines& Lines() const { return lines_; }
    const ByteLineTable& Table() const { return table_; }
    std::size_t Runs() const { return runs_; }

    // How often the text holds the content of a slot in use.
    std::uint32_t CountAt(std::size_t slot) const {
        const auto below = [](std::size_t bound) {
            return [bound](std::uint64_t repeat) { return (repeat >> 32) < bound; };
        };
        const auto from = std::partition_point(repeats_.begin(), repeats_.end(), below(slot));
        const auto to = std::partition_point(from, repeats_.end(), below(slot + 1));
        return Counted(slot, static_cast<std::uint32_t>(to - from) + 1);
    }

    // The repeats, sorted: each content that the text holds more than once as pieces is a run
    // of them, as many as its pieces less one.
    std::size_t Repeats() const { return repeats_.size(); }
    bool RunStartsAt(std::size_t repeat) const {
        return repeat == 0 || repeats_[repeat] >> 32 != repeats_[repeat - 1] >> 32;
    }
    std::size_t SlotAt(std::size_t repeat) const { return repeats_[repeat] >> 32; }
    std::size_t PieceAt(std::size_t repeat) const { return repeats_[repeat] & kPieceBits; }
    // How often the text holds the content of the run that starts there.
    std::uint32_t RunCount(std::size_t repeat) const {
        return Counted(SlotAt(repeat), static_cast<std::uint32_t>(RunEnd(repeat) - repeat) + 1);
    }

private:
    std::uint32_t Counted(std::size_t slot, std::uint32_t pieces) const {
        return slot == emptySlot_ ? pieces - after_ : pieces;
    }
    std::size_t RunEnd(std::size_t i) const {
        const std::uint64_t slot = repeats_[i] >> 32;
        while (i < repeats_.size() && repeats_[i] >> 32 == slot)
            ++i;
        return i;
    }

    const ByteLines& lines_;
    const ByteLineTable& table_;
    const std::vector<std::uint64_t>& repeats_;
    std::uint32_t after_ = 0;
    std::size_t emptySlot_ = ByteLineTable::kNoSlot;
    std::size_t runs_ = 0;
};

struct Found {
    std::vector<ByteCountedLine> own;   // counted lines of this text
    std::vector<ByteCountedLine> other; // of the other text, which holds them once
};

// A repeated line's piece, its content and the other text's slot for it are all far apart in
// memory: they are asked for this many repeats ahead, so that the waits overlap.
constexpr std::size_t kPieceAhead = 16;
constexpr std::size_t kRepeatBytesAhead = 8;

void PrefetchAhead(const Tally& own, const Tally& other, std::size_t repeat) {
    const std::size_t count = own.Repeats();
    if (repeat + kPieceAhead < count && own.RunStartsAt(repeat + kPieceAhead))
        own.Lines().Prefetch(own.PieceAt(repeat + kPieceAhead));
    if (repeat + kRepeatBytesAhead < count && own.RunStartsAt(repeat + kRepeatBytesAhead)) {
        const std::size_t piece = own.PieceAt(repeat + kRepeatBytesAhead);
        TARNWICK_PREFETCH(own.Lines().Content(piece).data());
        other.Table().Prefetch(own.Lines().Hash(piece));
    }
}

// The lines `own` holds more than once, looked up in `other`.
Found LookUpRepeats(const Tally& own, const Tally& other) {
    Found found;
    found.own.reserve(own.Runs());
    found.other.reserve(own.Runs());
    for (std::size_t repeat = 0; repeat < own.Repeats(); ++repeat) {
        PrefetchAhead(own, other, repeat);
        if (!own.RunStartsAt(repeat))
            continue;
        const std::uint32_t here = own.RunCount(repeat);
        if (here < 2)
            continue;
        const std::size_t piece = own.PieceAt(repeat);
        const std::size_t there =
            other.Table().SlotOf(own.Lines().Content(piece), own.Lines().Hash(piece));
        if (there == ByteLineTable::kNoSlot)
            continue;
        const std::uint32_t thereCount = other.CountAt(there);
        if (thereCount == 0) // only the other text's pieces after its last line hold it
            continue;
        const std::size_t slot = own.SlotAt(repeat);
        if (thereCount != here)
            found.own.push_back({own.Table().PlaceIn(slot), here, thereCount});
        if (thereCount == 1) // the other text does not look it up: it holds it once
            found.other.push_back({other.Table().PlaceIn(there), 1, here});
    }
    return found;
}

// Both lists of one text's counted lines, in order, each told at its first piece: the places
// the table keeps are turned into pieces by walking the pieces once, as far as the last one.
std::vector<ByteCountedLine> InOrder(const ByteLines& lines, std::vector<ByteCountedLine> own,
                                     const std::vector<ByteCountedLine>& fromOther) {
    own.insert(own.end(), fromOther.begin(), fromOther.end());
    std::sort(own.begin(), own.end(),
              [](const ByteCountedLine& a, const ByteCountedLine& b) { return a.piece < b.piece; });
    std::size_t piece = 0;
    for (ByteCountedLine& line : own) {
        while (lines.Place(piece) < line.piece)
            ++piece;
        line.piece = piece;
    }
    return own;
}

} // namespace

std::array<std::vector<ByteCountedLine>, 2> CountByteLines(CountedText first, CountedText second,
                                                           bool appendedCR) {
    if (first.repeats.empty() && second.repeats.empty())
        return {}; // each text holds each of its contents once
    auto secondTally = std::async(std::launch::async, [&] { return Tally(second, appendedCR); });
    const Tally firstTally(first, appendedCR);
    const Tally otherTally = secondTally.get();
    auto fromSecond =
        std::async(std::launch::async, [&] { return LookUpRepeats(otherTally, firstTally); });
    Found fromFirst = LookUpRepeats(firstTally, otherTally);
    Found bySecond = fromSecond.get();
    auto secondLines = std::async(std::launch::async, [&] {
        return InOrder(second.lines, std::move(bySecond.own), fromFirst.other);
    });
    std::vector<ByteCountedLine> firstLines =
        InOrder(first.lines, std::move(fromFirst.own), bySecond.other);
    return {std::move(firstLines), secondLines.get()};
}
