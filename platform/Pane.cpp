#include "platform/Pane.h"

#include "platform/CaretPlaces.h"
#include "platform/Failure.h"
#include "platform/ListMarks.h"
#include "platform/PaneObserver.h"
#include "platform/PlainText.h"
#include "platform/ResultList.h"
#include "platform/TextFileForm.h"

#include <algorithm>

namespace {

qsizetype NonNegative(qsizetype value) {
    if (value < 0)
        throw Failure(QStringLiteral("Invalid property value"));
    return value;
}

} // namespace

Pane::Pane() : plain_(std::make_unique<PlainText>()) {}

Pane::~Pane() {
    if (reportingStop_)
        *reportingStop_ = true;
}

const PaneText& Pane::Content() const {
    if (list_)
        return *list_;
    return *plain_;
}

const QString& Pane::Text() const {
    if (!list_)
        return plain_->String();
    if (!spelled_)
        spelled_ = list_->Mid(0, list_->Length());
    return *spelled_;
}

qint64 Pane::MemoryBytes() const {
    const qint64 text = list_ ? list_->MemoryBytes()
                              : 2 * qint64{plain_->Length()} + 4 * qint64{plain_->LineCount()};
    const qint64 form = fileForm_ ? fileForm_->MemoryBytes() : 0;
    const qint64 listed = listed_ && listed_ != list_ ? listed_->MemoryBytes() : 0;
    return text + runs_.MemoryBytes() + marks_.MemoryBytes() + form + listed;
}

PlainText& Pane::Plain() {
    if (list_) {
        plain_ = std::make_unique<PlainText>(Text());
        list_.reset();
        spelled_.reset();
    }
    return *plain_;
}

// Once the view has taken the change in, so that what the listener does to the pane meets a view
// that is up to date.
void Pane::TellTextListener(bool byUser) {
    if (textListener_)
        textListener_(byUser);
}

void Pane::SetStale(QString note) {
    // Only what a comparison coloured can be stale: red, or a line that only a rule matched.
    if (note == staleNote_ ||
        (!note.isEmpty() && !marked_ && runs_.RunFrom(kRuleMatched, 0).length == 0))
        return;
    staleNote_ = std::move(note);
    if (observer_)
        observer_->ColoursChanged();
}

bool Pane::HasRed() const {
    return marked_;
}

void Pane::TextChanged() {
    ++generation_;
    listed_.reset();
    if (Length() == 0)
        fileForm_.reset(); // what is typed into it now is typed text
    spelled_.reset();
    summary_.clear();
    ++summaryGeneration_;
    tips_ = nullptr;
    if (reportingStop_)
        *reportingStop_ = true;
    ClampSelection();
}

// The text changed under the selection: it stays within the text, and out of any pair that text
// added at its end completes.
void Pane::ClampSelection() {
    chosen_.start = std::min(chosen_.start, Length());
    chosen_.length = std::min(chosen_.length, Length() - chosen_.start);
    PlaceEnds(std::min(anchor_, Length()), std::min(caret_, Length()));
}

void Pane::PlaceEnds(qsizetype anchor, qsizetype caret) {
    const bool backward = caret < anchor;
    anchor_ = OutOfPair(Content(), anchor, backward);
    caret_ = OutOfPair(Content(), caret, !backward && caret != anchor);
}

// After an edit the caret stands after the new text, and past the pair that text may have
// joined, whether it ended in the pair's first half or took away what stood between its halves.
void Pane::PlaceCaretAfterEdit(qsizetype end) {
    const qsizetype after = OutOfPair(Content(), end, true);
    Select(after, after);
}

void Pane::SetText(QString text) {
    TextLines lines(text);
    SetText(std::move(text), std::move(lines));
}

void Pane::SetText(QString text, TextLines lines) {
    plain_ = std::make_unique<PlainText>(std::move(text), std::move(lines));
    list_.reset();
    runs_.Reset(plain_->Length());
    marks_ = {};
    marked_ = false;
    staleNote_.clear();
    history_.Clear();
    anchor_ = caret_ = 0;
    chosen_ = {};
    fileForm_.reset();
    TextChanged();
    if (observer_)
        observer_->TextReplaced();
    TellTextListener(false);
}

void Pane::AppendText(QStringView text) {
    if (text.isEmpty())
        return;
    const qsizetype oldLength = Length();
    Plain().Replace(oldLength, 0, text);
    runs_.Extend(text.size());
    TextChanged();
    if (observer_)
        observer_->TextEdited(oldLength, {}, text.size());
    TellTextListener(false);
}

void Pane::AppendList(std::shared_ptr<const ResultList> list) {
    if (!list || list->Length() == 0)
        return;
    if (Length() > 0 || !list->Listable()) {
        const bool onlyTheList = Length() == 0;
        AppendText(list->Mid(0, list->Length()));
        if (onlyTheList)
            listed_ = std::move(list);
        return;
    }
    list_ = std::move(list);
    plain_ = std::make_unique<PlainText>();
    runs_.Reset(list_->Length());
    marks_ = {};
    marked_ = false;
    staleNote_.clear();
    TextChanged();
    listed_ = list_;
    if (observer_)
        observer_->TextEdited(0, {}, list_->Length());
    TellTextListener(false);
}

void Pane::SetFileForm(std::shared_ptr<const TextFileForm> form) {
    fileForm_ = std::move(form);
    fileGeneration_ = generation_;
}

void Pane::SetSelStart(qsizetype start) {
    chosen_ = {std::min(NonNegative(start), Length()), 0};
    PlaceEnds(chosen_.start, chosen_.start);
    if (observer_)
        observer_->SelectionChanged();
}

void Pane::SetSelLength(qsizetype length) {
    chosen_.length = std::min(NonNegative(length), Length() - chosen_.start);
    PlaceEnds(chosen_.start, chosen_.End());
    if (observer_)
        observer_->SelectionChanged();
}

void Pane::Select(qsizetype anchor, qsizetype caret) {
    PlaceEnds(std::clamp<qsizetype>(anchor, 0, Length()),
              std::clamp<qsizetype>(caret, 0, Length()));
    chosen_ = {SelStart(), SelLength()};
    if (observer_)
        observer_->SelectionChanged();
}

void Pane::SetSelColor(Colour colour) {
    ColourRanges(std::span(&chosen_, 1), colour);
}

void Pane::ColourRanges(std::span<const TextRange> sortedRanges, Colour colour) {
    const bool wholeText =
        sortedRanges.size() == 1 && sortedRanges[0].start <= 0 && sortedRanges[0].End() >= Length();
    if (wholeText) {
        marks_ = {};
        runs_.Reset(Length());
        marked_ = false;
        staleNote_.clear();
        if (colour == kBlack)
            tips_ = nullptr; // nothing is red any more
    } else if (colour != kRed) {
        for (const TextRange& range : sortedRanges) { // the marks would show through the colour
            marks_.Clear(range);
            CompactMarksIfMany();
        }
    }
    runs_.Paint(sortedRanges, colour);
    // A comparison's new marks are current.
    if ((colour == kRed || colour == kRuleMatched) && !sortedRanges.empty())
        staleNote_.clear();
    marked_ = marked_ || (colour == kRed && !sortedRanges.empty());
    if (observer_)
        observer_->ColoursChanged();
}

void Pane::MarkRed(std::shared_ptr<const ResultList> list) {
    if (!list || list->Source().size() != Length() ||
        list->Source().constData() != Text().constData())
        throw Failure(QStringLiteral("The marks do not fit the text"));
    FoldMarks();
    const qsizetype entries = list->EntryCount();
    marks_ = MarkLayer(std::make_shared<const ListMarks>(std::move(list), nextMarkId_));
    nextMarkId_ += static_cast<MarkId>(entries);
    marked_ = marked_ || entries > 0;
    staleNote_.clear();
    if (observer_)
        observer_->ColoursChanged();
}

// The marks become runs, under the marks of a new list.
void Pane::FoldMarks() {
    if (marks_.Empty())
        return;
    ColourRuns::Painter painter(runs_, kRed, static_cast<std::size_t>(marks_.MarkCount()));
    marks_.ForEach([&](TextRange mark, MarkId) { painter.Add(mark); });
    runs_ = std::move(painter).Finish();
    marks_ = {};
}

// Edits in many places part the marks into many pieces: past the limit they are packed anew,
// which takes a walk through them all, once in thousands of edits.
void Pane::CompactMarksIfMany() {
    if (marks_.PartCount() > markPartLimit_)
        marks_.Compact();
}

Colour Pane::ColourAt(qsizetype position) const {
    Colour found = kBlack;
    ForEachColourRun(position, position + 1, [&](TextRange, Colour colour) { found = colour; });
    return found;
}

std::vector<TextRange> Pane::RangesOf(Colour colour) const {
    std::vector<TextRange> ranges;
    ForEachColourRun(0, Length(), [&](TextRange run, Colour runColour) {
        if (runColour != colour)
            return;
        if (!ranges.empty() && ranges.back().End() == run.start)
            ranges.back().length += run.length;
        else
            ranges.push_back(run);
    });
    return ranges;
}

TextRange Pane::RedNear(qsizetype position, bool forward) const {
    const TextRange run =
        forward ? runs_.RunFrom(kRed, position + 1) : runs_.RunBefore(kRed, position);
    const TextRange mark = forward ? marks_.FirstFrom(position + 1) : marks_.LastBefore(position);
    if (mark.length == 0 ||
        (run.length > 0 && (forward ? mark.start >= run.start : mark.start <= run.start)))
        return run;
    return mark;
}

std::shared_ptr<const std::atomic<bool>> Pane::StartReportingWork() {
    if (reportingStop_)
        *reportingStop_ = true;
    reportingStop_ = std::make_shared<std::atomic<bool>>(false);
    return reportingStop_;
}

void Pane::SetVisible(bool visible) {
    if (visible_ == visible)
        return;
    visible_ = visible;
    if (observer_)
        observer_->VisibilityChanged();
}

void Pane::SetProgress(std::optional<int> permille) {
    if (progress_ == permille)
        return;
    progress_ = permille;
    if (observer_)
        observer_->ProgressChanged();
}

// `removed` is the text the edit takes away, as the caller has it already (for the history);
// an undone edit gives back the colours and marks of what it took away.
void Pane::Replace(qsizetype position, QStringView removed, QStringView inserted,
                   const TextEdit* undone) {
    Plain().Replace(position, removed.size(), inserted);
    if (undone) {
        runs_.Splice(position, removed.size(), undone->removedColours);
        marks_.Splice(position, removed.size(), inserted.size(), undone->removedMarks);
    } else {
        runs_.Replace(position, removed.size(), inserted.size());
        marks_.Replace(position, removed.size(), inserted.size());
    }
    CompactMarksIfMany();
    TextChanged();
    if (observer_)
        observer_->TextEdited(position, removed, inserted.size());
    TellTextListener(true);
}

void Pane::Edit(qsizetype position, qsizetype removed, QStringView inserted, bool typed) {
    position = std::clamp<qsizetype>(position, 0, Length());
    removed = std::clamp<qsizetype>(removed, 0, Length() - position);
    if ((removed == 0 && inserted.isEmpty()) || !takesEdits_)
        return;
    TextEdit edit{position,
                  Content().Mid(position, position + removed),
                  runs_.Slice(position, position + removed),
                  marks_.Slice(position, position + removed),
                  inserted.toString(),
                  anchor_,
                  caret_};
    Replace(position, edit.removed, inserted, nullptr);
    history_.Record(std::move(edit), typed);
    PlaceCaretAfterEdit(position + inserted.size());
}

void Pane::Undo() {
    if (!history_.CanUndo() || !takesEdits_)
        return;
    const TextEdit edit = history_.TakeUndo();
    Replace(edit.position, edit.inserted, edit.removed, &edit);
    Select(edit.anchorBefore, edit.caretBefore);
}

void Pane::Redo() {
    if (!history_.CanRedo() || !takesEdits_)
        return;
    const TextEdit edit = history_.TakeRedo();
    Replace(edit.position, edit.removed, edit.inserted, nullptr);
    PlaceCaretAfterEdit(edit.position + edit.inserted.size());
}
