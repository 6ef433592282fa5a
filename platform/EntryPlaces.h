#pragma once

#include "platform/SourceLineIndex.h"
#include "platform/TextRange.h"

#include <optional>

class QString;

class Pane;
class ResultList;

// Where the entries of a list pane stand in the text they were found in, which the full pane of
// the same file holds until it is edited or replaced. A list spelled out as text (its entries hold
// breaks, or it was edited) stands nowhere.
class EntryPlaces {
public:
    EntryPlaces(const Pane& list, const Pane& source) : list_(list), source_(source) {}

    // Whether the list pane shows a list by place (not spelled out as text).
    bool HoldsList() const { return List() != nullptr; }
    // The entry on line `line` of the list, as its units stand in the text it was found in: a
    // line without its break, or a word.
    std::optional<TextRange> EntryOnLine(qsizetype line) const;
    // The line of that text the entry is on, from 1; the source pane's line index answers while
    // it still holds that text, and an index of the list's own copy once it does not.
    std::optional<qsizetype> LineNumberOf(qsizetype line);
    // The largest number LineNumberOf gives: the last entry's (entries are in text order).
    qsizetype LargestNumber();
    // Whether the source pane holds the very text the list was found in, so that an entry's place
    // is a place in it.
    bool SourceIsCurrent() const;
    // The list pane's text changed: the index of the old list's text goes with it.
    void ListChanged() { index_.reset(); }

private:
    const ResultList* List() const;
    const QString* SourceText() const;
    qsizetype SourceLineAt(const ResultList& list, qsizetype position);

    const Pane& list_;
    const Pane& source_;
    std::optional<SourceLineIndex> index_; // of the list's own copy of the text, once needed
};
