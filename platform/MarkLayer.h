#pragma once

#include "platform/MarkSource.h"

#include <functional>
#include <memory>
#include <vector>

// A pane's red marks as the places of the lists they came from, kept so through edits: millions of
// red words or lines cost no more than the lists that name them, before an edit and after it. Each
// edit parts the marks into those before it, which stay where their list has them, those after
// it, which move by what it added or took away, and the one or two it cut into, which are held
// here one by one. A mark is one stretch of red: the units an edit adds inside it or at its end
// become part of it (as they take the colour of the unit before them), and where an edit or a
// colour cuts it in two, each part is a stretch of its own until what stood between them goes.
// Should the parts pile up over thousands of edits, Compact() packs all marks anew.
class MarkLayer {
public:
    MarkLayer() = default;
    explicit MarkLayer(std::shared_ptr<const MarkSource> source);

    bool Empty() const { return spans_.empty(); }
    // How many parts the marks are kept in: a list, and what edits cut it into.
    std::size_t PartCount() const { return spans_.size(); }
    // How many marks there are, the empty ones included.
    qsizetype MarkCount() const;
    qint64 MemoryBytes() const;

    // The marks one after the other, from the first that ends after a position on.
    class Walk;
    Walk From(qsizetype position) const;
    // Calls visit(mark, id) for every mark that has units, in order.
    void ForEach(const std::function<void(TextRange, MarkId)>& visit) const;
    // The first mark with units that begins at or after `position`, or the last one that begins
    // before it; an empty range when there is none.
    TextRange FirstFrom(qsizetype position) const;
    TextRange LastBefore(qsizetype position) const;

    // An edit: `removed` units at `position` give way to `inserted` units, which belong to the
    // mark of the unit before them (at the start of the text: of the first unit after the removed
    // ones), if it has one.
    void Replace(qsizetype position, qsizetype removed, qsizetype inserted);
    // The same edit with the inserted units' marks given, as Slice() took them (an undone
    // deletion gets its marks back); a mark given joins the one beside it that it was part of.
    void Splice(qsizetype position, qsizetype removed, qsizetype inserted, const MarkLayer& marks);
    // The units of `range` lose their marks, as a colour painted over them.
    void Clear(TextRange range);
    // The marks of units [from, to), as the marks of a text of to - from units: packed on their
    // own unless they are most of the marks of a list or a packing, which they then share.
    MarkLayer Slice(qsizetype from, qsizetype to) const;
    // Packs every mark into one list of their own, a byte (a word) to three (a line) a mark, with
    // no parts left.
    void Compact();

private:
    struct Mark {
        TextRange range;
        MarkId id = 0;
    };
    // Marks [first, last) of a source, each moved by `shift`; or, without a source, one mark held
    // here. `cover` runs from the first mark's start to the last one's end, where they are now.
    struct Span {
        std::shared_ptr<const MarkSource> source;
        qsizetype first = 0;
        qsizetype last = 0;
        qsizetype shift = 0;
        TextRange cover;
        MarkId id = 0;
    };
    // A mark: its span, and its number in the span's source (0 for a mark held).
    struct Place {
        std::size_t span = 0;
        qsizetype entry = 0;
        friend bool operator==(const Place&, const Place&) = default;
        friend auto operator<=>(const Place&, const Place&) = default;
    };

    static Span Held(const Mark& mark);
    static Span Listed(std::shared_ptr<const MarkSource> source, qsizetype first, qsizetype last,
                       qsizetype shift);
    static void Move(Span& span, qsizetype by);
    static void AppendHeld(std::vector<Span>& spans, const Mark& mark);

    Place End() const { return {spans_.size(), 0}; }
    Place FirstOf(std::size_t span) const;
    Place LastOf(std::size_t span) const;
    Place Next(Place place) const;
    // The mark before `place`; End() when there is none.
    Place Previous(Place place) const;
    Mark MarkAt(Place place) const;
    Place FirstEndingAfter(qsizetype position) const;
    Place FirstStartingFrom(qsizetype position) const;
    // Takes the first or the last mark off; there must be one.
    Mark TakeFirst();
    Mark TakeLast();
    // The spans of marks [from, to), whole or cut from the spans that hold them.
    std::vector<Span> SpansBetween(Place from, Place to) const;
    // Whether a part holds less than half of the marks of the source it refers to.
    bool TakesFewOfASource() const;
    // The edit, with the inserted units' marks given or (without) taken from their neighbour.
    void Rewrite(qsizetype position, qsizetype removed, qsizetype inserted, const MarkLayer* given);

    std::vector<Span> spans_; // in order; no two marks overlap
};

class MarkLayer::Walk {
public:
    bool AtEnd() const { return place_.span >= layer_->spans_.size(); }
    TextRange Mark() const { return mark_; }
    void Next();

private:
    friend class MarkLayer;
    Walk(const MarkLayer& layer, Place place);

    const MarkLayer* layer_;
    Place place_;
    TextRange mark_;
};
