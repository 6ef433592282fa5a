#include "platform/PackedMarks.h"

#include <algorithm>

namespace {

// A mark's first byte. Below kLongMark it is the whole mark: the gap since the last one in its
// high three bits, its length less one in the low four, its identity the next one. From kLongMark
// on, the low seven bits are the gap (kGapFollows: the gap follows as a number), and the length and
// the identity follow as numbers.
constexpr std::uint8_t kLongMark = 0x80;
constexpr std::uint8_t kGapFollows = 0x7F;

void PutNumber(std::vector<std::uint8_t>& bytes, std::uint64_t number) {
    while (number >= 0x80) {
        bytes.push_back(static_cast<std::uint8_t>(number | 0x80));
        number >>= 7;
    }
    bytes.push_back(static_cast<std::uint8_t>(number));
}

std::uint64_t TakeNumber(const std::uint8_t*& at) {
    std::uint64_t number = 0;
    for (int shift = 0;; shift += 7) {
        const std::uint8_t byte = *at++;
        number |= std::uint64_t{byte & 0x7Fu} << shift;
        if (byte < 0x80)
            return number;
    }
}

// Identities mostly follow one another: the step from the one expected, small either way.
std::uint64_t Folded(MarkId id, MarkId expected) {
    const auto step = static_cast<std::int64_t>(id - expected);
    return (static_cast<std::uint64_t>(step) << 1) ^ static_cast<std::uint64_t>(step >> 63);
}

MarkId Unfolded(std::uint64_t folded, MarkId expected) {
    const auto step = static_cast<std::int64_t>((folded >> 1) ^ (~(folded & 1) + 1));
    return expected + static_cast<MarkId>(step);
}

} // namespace

class PackedMarks::Reader {
public:
    Reader(const PackedMarks& marks, qsizetype block)
        : at_(marks.bytes_.data() + marks.blocks_[static_cast<std::size_t>(block)].offset),
          end_(marks.blocks_[static_cast<std::size_t>(block)].end),
          id_(marks.blocks_[static_cast<std::size_t>(block)].id), index_(block * kMarksPerBlock) {}

    qsizetype Index() const { return index_; }
    // The mark at Index(), and on to the next.
    TextRange Next(MarkId& id) {
        const std::uint8_t lead = *at_++;
        qsizetype start = end_;
        if (lead < kLongMark) {
            start += lead >> 4;
            end_ = start + (lead & 0x0F) + 1;
            ++id_;
        } else {
            const auto gap = static_cast<std::uint8_t>(lead & kGapFollows);
            start += gap == kGapFollows ? static_cast<qsizetype>(TakeNumber(at_)) : gap;
            end_ = start + static_cast<qsizetype>(TakeNumber(at_));
            id_ = Unfolded(TakeNumber(at_), id_ + 1);
        }
        id = id_;
        ++index_;
        return {start, end_ - start};
    }

private:
    const std::uint8_t* at_;
    qsizetype end_;
    MarkId id_;
    qsizetype index_;
};

// A red word takes a byte; three bytes are enough for marks shorter than 128 units less than 127
// units apart; a sixteenth more for those that are not.
PackedMarks::Builder::Builder(qsizetype expected) {
    const auto count = static_cast<std::size_t>(std::max<qsizetype>(0, expected));
    marks_.bytes_.reserve(3 * count + count / 16);
    marks_.blocks_.reserve(count / kMarksPerBlock + 1);
}

void PackedMarks::Builder::Add(TextRange mark, MarkId id) {
    if (marks_.count_ % kMarksPerBlock == 0) {
        if (marks_.count_ == 0)
            id_ = id - 1;
        marks_.blocks_.push_back({end_, id_, marks_.bytes_.size()});
    }
    const auto gap = static_cast<std::uint64_t>(mark.start - end_);
    const auto length = static_cast<std::uint64_t>(mark.length);
    if (gap < 8 && length - 1 < 16 && id == id_ + 1) {
        marks_.bytes_.push_back(static_cast<std::uint8_t>(gap << 4 | (length - 1)));
    } else {
        marks_.bytes_.push_back(
            static_cast<std::uint8_t>(kLongMark | std::min<std::uint64_t>(gap, kGapFollows)));
        if (gap >= kGapFollows)
            PutNumber(marks_.bytes_, gap);
        PutNumber(marks_.bytes_, length);
        PutNumber(marks_.bytes_, Folded(id, id_ + 1));
    }
    end_ = mark.End();
    id_ = id;
    ++marks_.count_;
}

// Giving back room costs a copy of what is kept: only worth it for much room.
PackedMarks PackedMarks::Builder::Finish() && {
    if (marks_.bytes_.capacity() - marks_.bytes_.size() > marks_.bytes_.size() / 8)
        marks_.bytes_.shrink_to_fit();
    if (marks_.blocks_.capacity() - marks_.blocks_.size() > marks_.blocks_.size() / 8)
        marks_.blocks_.shrink_to_fit();
    return std::move(marks_);
}

PackedMarks::Reader PackedMarks::ReaderAt(qsizetype i) const {
    Reader reader(*this, i / kMarksPerBlock);
    MarkId id;
    while (reader.Index() < i)
        reader.Next(id);
    return reader;
}

TextRange PackedMarks::Mark(qsizetype i) const {
    MarkId id;
    return ReaderAt(i).Next(id);
}

MarkId PackedMarks::Id(qsizetype i) const {
    MarkId id = 0;
    ReaderAt(i).Next(id);
    return id;
}

// Block b's note holds the end of the mark before it: the last block whose note ends at or
// before `position` holds the first mark that ends after it, or the block after it does.
qsizetype PackedMarks::BlockEndingAfter(qsizetype position) const {
    const auto after =
        std::upper_bound(blocks_.begin(), blocks_.end(), position,
                         [](qsizetype p, const Block& block) { return p < block.end; });
    return std::max<qsizetype>(0, std::distance(blocks_.begin(), after) - 1);
}

// The index of the first mark for which reached(mark) holds, read from the block in which the
// first mark that ends after `position` lies: `reached` holds for no mark before that one.
template <typename Reached>
qsizetype PackedMarks::FirstFrom(qsizetype position, Reached reached) const {
    if (count_ == 0)
        return 0;
    Reader reader(*this, BlockEndingAfter(position));
    MarkId id;
    while (reader.Index() < count_) {
        const qsizetype i = reader.Index();
        if (reached(reader.Next(id)))
            return i;
    }
    return count_;
}

qsizetype PackedMarks::FirstEndingAfter(qsizetype position) const {
    return FirstFrom(position, [&](TextRange mark) { return mark.End() > position; });
}

// No mark is empty, so every mark before one that ends at or before `position` begins before it.
qsizetype PackedMarks::FirstStartingFrom(qsizetype position) const {
    return FirstFrom(position, [&](TextRange mark) { return mark.start >= position; });
}

void PackedMarks::ForEach(qsizetype first, qsizetype last,
                          const std::function<void(TextRange, MarkId)>& visit) const {
    if (first >= last)
        return;
    Reader reader = ReaderAt(first);
    MarkId id;
    while (reader.Index() < last) {
        const TextRange mark = reader.Next(id);
        visit(mark, id);
    }
}

qint64 PackedMarks::MemoryBytes() const {
    return static_cast<qint64>(bytes_.capacity() + blocks_.capacity() * sizeof(Block));
}
