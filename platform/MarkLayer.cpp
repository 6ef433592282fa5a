#include "platform/MarkLayer.h"

#include "platform/PackedMarks.h"

#include <algorithm>
#include <iterator>

MarkLayer::MarkLayer(std::shared_ptr<const MarkSource> source) {
    if (!source || source->Count() == 0)
        return;
    const qsizetype count = source->Count();
    spans_.push_back(Listed(std::move(source), 0, count, 0));
}

MarkLayer::Span MarkLayer::Held(const Mark& mark) {
    return {nullptr, 0, 0, 0, mark.range, mark.id};
}

MarkLayer::Span MarkLayer::Listed(std::shared_ptr<const MarkSource> source, qsizetype first,
                                  qsizetype last, qsizetype shift) {
    const qsizetype start = source->Mark(first).start + shift;
    const qsizetype end = source->Mark(last - 1).End() + shift;
    return {std::move(source), first, last, shift, {start, end - start}, 0};
}

void MarkLayer::Move(Span& span, qsizetype by) {
    span.shift += by;
    span.cover.start += by;
}

qsizetype MarkLayer::MarkCount() const {
    qsizetype count = 0;
    for (const Span& span : spans_)
        count += span.source ? span.last - span.first : 1;
    return count;
}

qint64 MarkLayer::MemoryBytes() const {
    qint64 bytes = static_cast<qint64>(spans_.capacity() * sizeof(Span));
    std::vector<const MarkSource*> counted;
    for (const Span& span : spans_) {
        if (!span.source ||
            std::find(counted.begin(), counted.end(), span.source.get()) != counted.end())
            continue;
        counted.push_back(span.source.get());
        bytes += span.source->MemoryBytes();
    }
    return bytes;
}

MarkLayer::Place MarkLayer::FirstOf(std::size_t span) const {
    if (span >= spans_.size())
        return End();
    return {span, spans_[span].source ? spans_[span].first : 0};
}

MarkLayer::Place MarkLayer::LastOf(std::size_t span) const {
    return {span, spans_[span].source ? spans_[span].last - 1 : 0};
}

MarkLayer::Place MarkLayer::Next(Place place) const {
    const Span& span = spans_[place.span];
    if (span.source && place.entry + 1 < span.last)
        return {place.span, place.entry + 1};
    return FirstOf(place.span + 1);
}

MarkLayer::Place MarkLayer::Previous(Place place) const {
    if (place.span < spans_.size() && spans_[place.span].source &&
        place.entry > spans_[place.span].first)
        return {place.span, place.entry - 1};
    if (place.span == 0)
        return End();
    return LastOf(place.span - 1);
}

MarkLayer::Mark MarkLayer::MarkAt(Place place) const {
    const Span& span = spans_[place.span];
    if (!span.source)
        return {span.cover, span.id};
    const TextRange mark = span.source->Mark(place.entry);
    return {{mark.start + span.shift, mark.length}, span.source->Id(place.entry)};
}

MarkLayer::Place MarkLayer::FirstEndingAfter(qsizetype position) const {
    const auto found = std::partition_point(spans_.begin(), spans_.end(), [&](const Span& span) {
        return span.cover.End() <= position;
    });
    const auto k = static_cast<std::size_t>(std::distance(spans_.begin(), found));
    if (k == spans_.size() || !found->source)
        return {k, 0};
    const qsizetype entry = found->source->FirstEndingAfter(position - found->shift);
    return {k, std::clamp(entry, found->first, found->last - 1)};
}

// Every mark of a span before the first whose cover reaches `position` begins before it; so does
// every mark of that span that is not found in it, and the next span's begin at or after it.
MarkLayer::Place MarkLayer::FirstStartingFrom(qsizetype position) const {
    const auto found = std::partition_point(spans_.begin(), spans_.end(), [&](const Span& span) {
        return span.cover.End() < position;
    });
    for (auto k = static_cast<std::size_t>(std::distance(spans_.begin(), found)); k < spans_.size();
         ++k) {
        const Span& span = spans_[k];
        if (!span.source) {
            if (span.cover.start >= position)
                return {k, 0};
            continue;
        }
        const qsizetype entry =
            std::max(span.first, span.source->FirstStartingFrom(position - span.shift));
        if (entry < span.last)
            return {k, entry};
    }
    return End();
}

MarkLayer::Walk MarkLayer::From(qsizetype position) const {
    return Walk(*this, FirstEndingAfter(position));
}

MarkLayer::Walk::Walk(const MarkLayer& layer, Place place) : layer_(&layer), place_(place) {
    if (!AtEnd())
        mark_ = layer_->MarkAt(place_).range;
}

void MarkLayer::Walk::Next() {
    place_ = layer_->Next(place_);
    if (!AtEnd())
        mark_ = layer_->MarkAt(place_).range;
}

void MarkLayer::ForEach(const std::function<void(TextRange, MarkId)>& visit) const {
    for (const Span& span : spans_) {
        if (!span.source) {
            visit(span.cover, span.id);
            continue;
        }
        span.source->ForEach(span.first, span.last, [&](TextRange mark, MarkId id) {
            if (mark.length > 0)
                visit({mark.start + span.shift, mark.length}, id);
        });
    }
}

TextRange MarkLayer::FirstFrom(qsizetype position) const {
    for (Place place = FirstStartingFrom(position); place != End(); place = Next(place)) {
        const Mark mark = MarkAt(place);
        if (mark.range.length > 0) // an empty word marks nothing
            return mark.range;
    }
    return {};
}

TextRange MarkLayer::LastBefore(qsizetype position) const {
    for (Place place = Previous(FirstStartingFrom(position)); place != End();
         place = Previous(place)) {
        const Mark mark = MarkAt(place);
        if (mark.range.length > 0)
            return mark.range;
    }
    return {};
}

std::vector<MarkLayer::Span> MarkLayer::SpansBetween(Place from, Place to) const {
    std::vector<Span> between;
    for (std::size_t k = from.span; k < spans_.size() && k <= to.span; ++k) {
        const Span& span = spans_[k];
        if (!span.source) {
            if (k < to.span)
                between.push_back(span);
            continue;
        }
        const qsizetype first = k == from.span ? from.entry : span.first;
        const qsizetype last = k == to.span ? to.entry : span.last;
        if (first >= last)
            continue;
        between.push_back(first == span.first && last == span.last
                              ? span
                              : Listed(span.source, first, last, span.shift));
    }
    return between;
}

// A mark held alone goes after the others, joined to the one before it when it continues it.
void MarkLayer::AppendHeld(std::vector<Span>& spans, const Mark& mark) {
    if (mark.range.length <= 0)
        return;
    Span* before = spans.empty() ? nullptr : &spans.back();
    if (before && !before->source && before->cover.End() == mark.range.start &&
        before->id == mark.id) {
        before->cover.length += mark.range.length;
        return;
    }
    spans.push_back(Held(mark));
}

void MarkLayer::Rewrite(qsizetype position, qsizetype removed, qsizetype inserted,
                        const MarkLayer* given) {
    const qsizetype after = position + removed;
    const qsizetype moved = inserted - removed;
    // The marks that meet the edit: all but the first and the last of them lie within what it
    // removes.
    const Place first = FirstEndingAfter(position - 1);
    const Place beyond = FirstStartingFrom(after + 1);
    std::vector<Span> middle;
    Mark left, right;
    if (first < beyond) {
        const Mark head = MarkAt(first);
        const Mark tail = MarkAt(Previous(beyond));
        if (head.range.start < position)
            left = {{head.range.start, position - head.range.start}, head.id};
        if (tail.range.End() > after) {
            const qsizetype start =
                tail.range.start >= after ? tail.range.start + moved : position + inserted;
            right = {{start, tail.range.End() + moved - start}, tail.id};
            // At the start of the text the new units take the mark of the unit after them.
            if (!given && position == 0 && tail.range.start <= after)
                right.range = {0, right.range.End()};
        }
        if (!given && position > 0 && left.range.length > 0)
            left.range.length += inserted;
    }
    AppendHeld(middle, left);
    if (given && !given->Empty()) {
        // Their first and last marks may continue the marks on either side.
        MarkLayer marks = *given;
        for (Span& span : marks.spans_)
            Move(span, position);
        AppendHeld(middle, marks.TakeFirst());
        const Mark last = marks.Empty() ? Mark{} : marks.TakeLast();
        middle.insert(middle.end(), std::make_move_iterator(marks.spans_.begin()),
                      std::make_move_iterator(marks.spans_.end()));
        AppendHeld(middle, last);
    }
    AppendHeld(middle, right);

    const std::size_t eraseFrom = first.span;
    const std::size_t eraseTo = beyond.span < spans_.size() ? beyond.span + 1 : spans_.size();
    std::vector<Span> replacement;
    if (first.span < spans_.size() && spans_[first.span].source &&
        first.entry > spans_[first.span].first) {
        const Span& cut = spans_[first.span];
        replacement.push_back(Listed(cut.source, cut.first, first.entry, cut.shift));
    }
    replacement.insert(replacement.end(), std::make_move_iterator(middle.begin()),
                       std::make_move_iterator(middle.end()));
    if (beyond.span < spans_.size()) {
        const Span& cut = spans_[beyond.span];
        replacement.push_back(cut.source && beyond.entry > cut.first
                                  ? Listed(cut.source, beyond.entry, cut.last, cut.shift)
                                  : cut);
        Move(replacement.back(), moved);
    }
    for (std::size_t k = eraseTo; k < spans_.size(); ++k)
        Move(spans_[k], moved);
    const auto at = spans_.begin() + static_cast<std::ptrdiff_t>(eraseFrom);
    spans_.erase(at, spans_.begin() + static_cast<std::ptrdiff_t>(eraseTo));
    spans_.insert(spans_.begin() + static_cast<std::ptrdiff_t>(eraseFrom),
                  std::make_move_iterator(replacement.begin()),
                  std::make_move_iterator(replacement.end()));
}

void MarkLayer::Replace(qsizetype position, qsizetype removed, qsizetype inserted) {
    if (removed > 0 || inserted > 0)
        Rewrite(position, removed, inserted, nullptr);
}

void MarkLayer::Splice(qsizetype position, qsizetype removed, qsizetype inserted,
                       const MarkLayer& marks) {
    if (removed > 0 || inserted > 0)
        Rewrite(position, removed, inserted, &marks);
}

void MarkLayer::Clear(TextRange range) {
    static const MarkLayer none;
    if (range.length > 0)
        Rewrite(range.start, range.length, range.length, &none);
}

MarkLayer MarkLayer::Slice(qsizetype from, qsizetype to) const {
    MarkLayer slice;
    if (from >= to)
        return slice;
    const Place first = FirstEndingAfter(from);
    const Place beyond = FirstStartingFrom(to);
    if (!(first < beyond))
        return slice;
    slice.spans_ = SpansBetween(first, beyond);
    for (Span& span : slice.spans_)
        Move(span, -from);
    // The first and the last mark may reach beyond the units taken.
    const TextRange head = slice.MarkAt(slice.FirstOf(0)).range;
    if (head.start < 0)
        slice.Clear({head.start, -head.start});
    const qsizetype length = to - from;
    const TextRange tail = slice.MarkAt(slice.LastOf(slice.spans_.size() - 1)).range;
    if (tail.End() > length)
        slice.Clear({length, tail.End() - length});
    if (slice.TakesFewOfASource())
        slice.Compact();
    return slice;
}

// A slice kept for undo that held on to a list, or to all marks packed, for a few of its marks
// would keep them, and the text a list was cut from, long after the pane let them go.
bool MarkLayer::TakesFewOfASource() const {
    return std::any_of(spans_.begin(), spans_.end(), [](const Span& span) {
        return span.source && 2 * (span.last - span.first) < span.source->Count();
    });
}

MarkLayer::Mark MarkLayer::TakeFirst() {
    Span& span = spans_.front();
    const Mark mark = MarkAt(FirstOf(0));
    if (span.source && span.first + 1 < span.last)
        span = Listed(span.source, span.first + 1, span.last, span.shift);
    else
        spans_.erase(spans_.begin());
    return mark;
}

MarkLayer::Mark MarkLayer::TakeLast() {
    Span& span = spans_.back();
    const Mark mark = MarkAt(LastOf(spans_.size() - 1));
    if (span.source && span.first + 1 < span.last)
        span = Listed(span.source, span.first, span.last - 1, span.shift);
    else
        spans_.pop_back();
    return mark;
}

void MarkLayer::Compact() {
    if (spans_.empty())
        return;
    PackedMarks::Builder builder(MarkCount());
    ForEach([&](TextRange mark, MarkId id) { builder.Add(mark, id); });
    auto packed = std::make_shared<const PackedMarks>(std::move(builder).Finish());
    spans_.clear();
    const qsizetype count = packed->Count();
    if (count > 0)
        spans_.push_back(Listed(std::move(packed), 0, count, 0));
    spans_.shrink_to_fit();
}
