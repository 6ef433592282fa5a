#include "platform/LineBreakKinds.h"

QStringView LineBreakUnits(LineBreak lineBreak) {
    switch (lineBreak) {
    case LineBreak::CrLf:
        return u"\r\n";
    case LineBreak::Cr:
        return u"\r";
    case LineBreak::Lf:
        break;
    }
    return u"\n";
}

qint64 LineBreakKinds::MemoryBytesFor(qint64 breaks) {
    return (breaks + kPerWord - 1) / kPerWord * qint64{sizeof(std::uint64_t)};
}

void LineBreakKinds::Reserve(qsizetype breaks) {
    words_.reserve(static_cast<std::size_t>((breaks + kPerWord - 1) / kPerWord));
}

void LineBreakKinds::Append(LineBreak kind) {
    if (count_ % kPerWord == 0)
        words_.push_back(0);
    ++count_;
    ChangeLast(kind);
}

void LineBreakKinds::ChangeLast(LineBreak kind) {
    const qsizetype last = count_ - 1;
    const int shift = static_cast<int>(last % kPerWord) * 2;
    std::uint64_t& word = words_[static_cast<std::size_t>(last / kPerWord)];
    word = (word & ~(std::uint64_t{3} << shift)) |
           (std::uint64_t{static_cast<std::uint8_t>(kind)} << shift);
}

LineBreak LineBreakKinds::At(qsizetype i) const {
    const std::uint64_t word = words_[static_cast<std::size_t>(i / kPerWord)];
    return static_cast<LineBreak>((word >> (static_cast<int>(i % kPerWord) * 2)) & 3);
}

qint64 LineBreakKinds::MemoryBytes() const {
    return static_cast<qint64>(words_.capacity() * sizeof(std::uint64_t));
}
