#include "platform/EntryPlaces.h"

#include "platform/Pane.h"
#include "platform/ResultList.h"

const ResultList* EntryPlaces::List() const {
    return dynamic_cast<const ResultList*>(&list_.Content());
}

std::optional<TextRange> EntryPlaces::EntryOnLine(qsizetype line) const {
    const ResultList* list = List();
    return list ? list->SourceOfLine(line) : std::nullopt;
}

// The source pane's own text, when it holds one (a full pane always does).
const QString* EntryPlaces::SourceText() const {
    if (dynamic_cast<const ResultList*>(&source_.Content()))
        return nullptr;
    return &source_.Text();
}

// The same storage is the same text; a copy the user came back to by undoing is compared whole.
bool EntryPlaces::SourceIsCurrent() const {
    const ResultList* list = List();
    const QString* text = SourceText();
    if (!list || !text || text->size() != list->Source().size())
        return false;
    return text->constData() == list->Source().constData() || *text == list->Source();
}

qsizetype EntryPlaces::SourceLineAt(const ResultList& list, qsizetype position) {
    const QString* text = SourceText();
    if (text && text->size() == list.Source().size() &&
        text->constData() == list.Source().constData())
        return source_.Content().LineAt(position);
    if (!index_)
        index_.emplace(list.Source());
    return index_->LineAt(position);
}

std::optional<qsizetype> EntryPlaces::LineNumberOf(qsizetype line) {
    const ResultList* list = List();
    const std::optional<TextRange> entry = list ? list->SourceOfLine(line) : std::nullopt;
    if (!entry)
        return std::nullopt;
    return SourceLineAt(*list, entry->start) + 1;
}

qsizetype EntryPlaces::LargestNumber() {
    const ResultList* list = List();
    if (!list || list->EntryCount() == 0)
        return 0;
    // The end of an entry is on its line, past any LF in front of it.
    return SourceLineAt(*list, list->Entry(list->EntryCount() - 1).End()) + 1;
}
