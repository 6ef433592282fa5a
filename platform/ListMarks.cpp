#include "platform/ListMarks.h"

#include "platform/ResultList.h"

ListMarks::ListMarks(std::shared_ptr<const ResultList> list, MarkId firstId)
    : list_(std::move(list)), firstId_(firstId) {}

qsizetype ListMarks::Count() const {
    return list_->EntryCount();
}

TextRange ListMarks::Mark(qsizetype i) const {
    return list_->Mark(i);
}

qsizetype ListMarks::FirstEndingAfter(qsizetype position) const {
    return list_->FirstMarkEndingAfter(position);
}

qsizetype ListMarks::FirstStartingFrom(qsizetype position) const {
    return list_->FirstEntryFrom(position);
}

void ListMarks::ForEach(qsizetype first, qsizetype last,
                        const std::function<void(TextRange, MarkId)>& visit) const {
    qsizetype i = first;
    list_->ForEachMark(first, last, [&](TextRange mark) { visit(mark, Id(i++)); });
}

qint64 ListMarks::MemoryBytes() const {
    return list_.use_count() == 1 ? list_->MemoryBytes() : 0;
}
