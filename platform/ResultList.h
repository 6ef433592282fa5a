#pragma once

#include "platform/PaneText.h"
#include "platform/PieceSelection.h"
#include "platform/TextRange.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// A list of differences as a result pane shows it, kept as the places of its entries in the text
// they were found in rather than as a copy of them: a list of millions of words then costs eight
// bytes an entry, and the pane that shows the text can take its red marks from the same list.
// A list of whole pieces (what the line comparison finds) is kept as a selection of the pieces,
// in about half a byte a piece of the text (see PieceSelection).
//
// Two forms, as the two comparisons write their lists:
// - pieces: each entry is followed by one CR ("piece CR piece CR ..."); a piece may begin with
//   the LF that cutting CR LF text at CR leaves in front of it;
// - words: each entry is preceded by CR LF ("CR LF word CR LF word ...").
// An entry holds no other break. The list reads back as that text, code unit for code unit.
class ResultList final : public PaneText {
public:
    enum class Form { Pieces, Words };
    // Entries longer than this are noted as they are added, so that a view can find the long
    // lines of a list of millions at once.
    static constexpr qsizetype kLongEntry = 512;

    class Builder;

    Form ListForm() const { return form_; }
    // False when an entry holds a break of its own: the list then reads back right, but its lines
    // are not one an entry, so a pane spells it out instead of showing it by place.
    bool Listable() const { return listable_; }
    const QString& Source() const { return source_; }
    // What the list holds, in bytes: its places, and its source text when nothing else holds it.
    qint64 MemoryBytes() const;
    qsizetype EntryCount() const {
        return pieces_ ? pieces_->Count() : static_cast<qsizetype>(entries_.size());
    }
    // Where entry `i` stands in the source text.
    TextRange Entry(qsizetype i) const;
    // Calls visit(entry) with where each entry stands in the source, in order, in one walk
    // through the source however many entries there are.
    void ForEachEntry(const std::function<void(TextRange)>& visit) const;
    // The first entry that ends after `position` of the source (entries are in source order).
    qsizetype FirstEntryEndingAfter(qsizetype position) const;
    // The first entry that begins at or after `position` of the source.
    qsizetype FirstEntryFrom(qsizetype position) const;
    // What entry `i` marks red in the source: a piece with the CR that ends it, a word alone.
    TextRange Mark(qsizetype i) const;
    // The first entry whose mark ends after `position` of the source.
    qsizetype FirstMarkEndingAfter(qsizetype position) const;
    // Calls visit(mark) with the marks of entries [first, last), in order, in one walk.
    void ForEachMark(qsizetype first, qsizetype last,
                     const std::function<void(TextRange)>& visit) const;
    // The entry shown on line `line` of the list, where its units stand in the source (a piece
    // without the LF in front of it); nothing for a line that shows no entry.
    std::optional<TextRange> SourceOfLine(qsizetype line) const;

    qsizetype Length() const override { return length_; }
    qsizetype LineCount() const override;
    qsizetype LineStart(qsizetype line) const override;
    qsizetype LineEnd(qsizetype line) const override;
    QStringView LineView(qsizetype line) const override;
    qsizetype LineAt(qsizetype position) const override;
    std::vector<qsizetype> LongLines(qsizetype units) const override;
    void AppendUnits(qsizetype from, qsizetype to, QString& out) const override;

private:
    struct Placed {
        std::uint32_t source; // where the entry stands in the source text
        std::uint32_t at;     // where the entry (its separator included) begins in the list
    };

    ResultList(QString source, Form form) : source_(std::move(source)), form_(form) {}

    qsizetype Separator() const { return form_ == Form::Words ? 2 : 1; }
    qsizetype EntryLength(qsizetype i) const;
    // Where entry `i`'s own units begin in the list.
    qsizetype EntryAt(qsizetype i) const;
    bool StartsWithLF(qsizetype i) const;
    // A line of the pieces form before the first entry: the first entry begins with its LF.
    qsizetype LeadingLines() const;
    // The text of units [from, to) of the stretch of the list of entry `placed`, which begins at
    // `at` of the list (separator included).
    void AppendFromEntry(TextRange placed, qsizetype at, qsizetype from, qsizetype to,
                         QString& out) const;
    // The last entry that begins at or before `position` of the list (0 when none does).
    qsizetype EntryAtOrBefore(qsizetype position) const;
    // Where entry `i` (its separator included) begins in the list.
    qsizetype PlacedAt(qsizetype i) const;

    QString source_;
    Form form_;
    std::vector<Placed> entries_;
    std::shared_ptr<const PieceSelection> pieces_; // instead of entries_, when set
    std::vector<qsizetype> longEntries_; // those of more than kLongEntry units, noted as added
    qsizetype length_ = 0;
    bool listable_ = true;
};

// Collects entries in source order, on any thread.
class ResultList::Builder {
public:
    // `expectedEntries`: room made ahead (address space only, until written to). `pieceStarts`,
    // for a list of pieces of a source the caller has cut already: see PieceSelection::Builder.
    Builder(QString source, Form form, std::size_t expectedEntries = 0,
            std::span<const std::uint32_t> pieceStarts = {});
    // Throws std::length_error when the list would reach 2^32 units.
    void Add(TextRange entry);
    qsizetype Count() const { return count_; }
    ResultList Finish() &&;

private:
    void AddPlaced(TextRange entry);
    // Lists the pieces selected so far one by one, for an entry they cannot hold.
    void PlaceSelected();

    ResultList list_;
    std::optional<PieceSelection::Builder> pieces_;
    qsizetype count_ = 0;
};
