#include "platform/Pane.h"

#include "files/TextFileReading.h"
#include "platform/Failure.h"
#include "platform/PaneObserver.h"

#include <algorithm>

namespace {

qsizetype NonNegative(qsizetype value) {
    if (value < 0)
        throw Failure(QStringLiteral("Invalid property value"));
    return value;
}

} // namespace

void Pane::TextChanged() {
    ++generation_;
    selStart_ = std::min(selStart_, text_.size());
    selLength_ = std::min(selLength_, text_.size() - selStart_);
}

void Pane::SetText(QString text) {
    text_ = std::move(text);
    colours_.Reset(text_.size());
    selStart_ = selLength_ = 0;
    TextChanged();
    if (observer_)
        observer_->TextReplaced();
}

void Pane::AppendText(QStringView text) {
    if (text.isEmpty())
        return;
    const qsizetype oldLength = text_.size();
    text_.append(text);
    colours_.Extend(text.size());
    TextChanged();
    if (observer_)
        observer_->TextAppended(oldLength);
}

void Pane::LoadFile(const QString& path) {
    SetText(ReadTextFile(path));
}

void Pane::SetSelStart(qsizetype start) {
    selStart_ = std::min(NonNegative(start), text_.size());
    selLength_ = 0;
}

void Pane::SetSelLength(qsizetype length) {
    selLength_ = std::min(NonNegative(length), text_.size() - selStart_);
}

void Pane::SetSelColor(Colour colour) {
    const TextRange selection{selStart_, selLength_};
    ColourRanges(std::span(&selection, 1), colour);
}

void Pane::ColourRanges(std::span<const TextRange> sortedRanges, Colour colour) {
    colours_.Paint(sortedRanges, colour);
    if (observer_)
        observer_->ColoursChanged();
}

void Pane::SetColours(ColourRuns colours) {
    if (colours.Length() != text_.size())
        throw Failure(QStringLiteral("The colours do not fit the text"));
    colours_ = std::move(colours);
    if (observer_)
        observer_->ColoursChanged();
}

void Pane::SetVisible(bool visible) {
    if (visible_ == visible)
        return;
    visible_ = visible;
    if (observer_)
        observer_->VisibilityChanged();
}

void Pane::ReplaceFromView(qsizetype position, qsizetype removed, QStringView inserted) {
    position = std::clamp<qsizetype>(position, 0, text_.size());
    removed = std::clamp<qsizetype>(removed, 0, text_.size() - position);
    text_.replace(position, removed, inserted.toString());
    colours_.Replace(position, removed, inserted.size());
    TextChanged();
}
