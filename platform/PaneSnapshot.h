#pragma once

#include "platform/ResultList.h"

#include <QString>

#include <functional>
#include <memory>

// A pane's text as it is at one moment, to be read on another thread while the pane goes on: a
// text held whole is shared, not copied, and a list stays a list.
class PaneSnapshot {
public:
    PaneSnapshot(QString text, std::shared_ptr<const ResultList> list)
        : text_(std::move(text)), list_(std::move(list)) {}

    qsizetype Length() const { return list_ ? list_->Length() : text_.size(); }
    // Calls `piece` with the whole text, in order, in pieces of about `units` units.
    void ForEachPiece(qsizetype units, const std::function<void(QStringView)>& piece) const;

private:
    QString text_;
    std::shared_ptr<const ResultList> list_;
};
