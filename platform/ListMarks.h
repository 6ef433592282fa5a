#pragma once

#include "platform/MarkSource.h"

#include <memory>

class ResultList;

// The entries of a list of differences as red marks of the text they were cut from: each entry's
// mark (ResultList::Mark), numbered from `firstId` on.
class ListMarks final : public MarkSource {
public:
    ListMarks(std::shared_ptr<const ResultList> list, MarkId firstId);

    qsizetype Count() const override;
    TextRange Mark(qsizetype i) const override;
    MarkId Id(qsizetype i) const override { return firstId_ + static_cast<MarkId>(i); }
    qsizetype FirstEndingAfter(qsizetype position) const override;
    qsizetype FirstStartingFrom(qsizetype position) const override;
    void ForEach(qsizetype first, qsizetype last,
                 const std::function<void(TextRange, MarkId)>& visit) const override;
    // The list while no result pane shows it (a pane that shows it counts it).
    qint64 MemoryBytes() const override;

private:
    std::shared_ptr<const ResultList> list_;
    MarkId firstId_;
};
