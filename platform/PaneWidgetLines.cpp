// The pane widget's line numbers, the entries of a list, and bringing a stretch of text on screen.
#include "platform/EntryPlaces.h"
#include "platform/LineNumberGutter.h"
#include "platform/OverviewStrip.h"
#include "platform/Pane.h"
#include "platform/PaneWidget.h"

#include <QTextLine>

void PaneWidget::ShowLineNumbers(bool show) {
    if (show == (gutter_ != nullptr))
        return;
    if (show) {
        gutter_ = new LineNumberGutter(*this);
        gutter_->Follow(true);
        gutter_->show();
    } else {
        delete gutter_;
        gutter_ = nullptr;
    }
    UpdateMargins();
}

void PaneWidget::ListEntriesOf(const Pane& source) {
    entries_ = std::make_unique<EntryPlaces>(pane_, source);
    if (gutter_ && gutter_->Follow(true))
        UpdateMargins();
}

// The gutter on the left and the overview strip on the right take their room from the text.
void PaneWidget::UpdateMargins() {
    setViewportMargins(gutter_ ? gutter_->WidthNeeded() : 0, 0,
                       overview_ ? OverviewStrip::kWidth : 0, 0);
    ViewportResized();
}

void PaneWidget::PlaceGutter() {
    if (!gutter_)
        return;
    const QRect view = viewport()->geometry();
    const int width = gutter_->WidthNeeded();
    gutter_->setGeometry(view.left() - width, view.top(), width, view.height());
}

std::vector<PaneWidget::LineStart> PaneWidget::VisibleLineStarts() {
    std::vector<LineStart> starts;
    qreal y = -top_.y;
    for (qsizetype segment = top_.segment; segment < segments_.Count() && y < ViewHeight();
         ++segment) {
        const PaneSegments::Place place = segments_.At(segment);
        const QTextLayout& layout = layouts_.At(segment).layout;
        if (place.piece == 0 && layout.lineCount() > 0) {
            const QTextLine row = layout.lineAt(0);
            starts.push_back({place.line, y + row.y(), y + row.y() + row.ascent()});
        }
        y += scroll_.Height(segment);
    }
    return starts;
}

std::optional<qsizetype> PaneWidget::LineNumberOf(qsizetype line) {
    if (entries_)
        return entries_->LineNumberOf(line);
    return line + 1;
}

qsizetype PaneWidget::LargestLineNumber() {
    return entries_ ? entries_->LargestNumber() : pane_.Content().LineCount();
}

bool PaneWidget::ActivateEntryAt(qsizetype position) {
    if (!entries_)
        return false;
    const std::optional<TextRange> entry = entries_->EntryOnLine(pane_.Content().LineAt(position));
    if (!entry || !entries_->SourceIsCurrent())
        return false;
    Q_EMIT EntryActivated(entry->start, entry->length);
    return true;
}

void PaneWidget::ShowStretch(TextRange stretch, Placing placing) {
    const auto rowOf = [this](qsizetype position) {
        const Located at = Locate(position);
        return layouts_.At(at.segment).layout.lineAt(at.row);
    };
    const qsizetype last = std::max(stretch.start, stretch.End() - 1);
    const ViewPlace start{Locate(stretch.start).segment, rowOf(stretch.start).y()};
    const QTextLine lastRow = rowOf(last);
    const ViewPlace end{Locate(last).segment, lastRow.y() + lastRow.height()};
    const qreal view = ViewHeight();
    const qreal height = scroll_.Between(start, end, view + 1);
    if (height > view)
        SetTop(scroll_.Advance(start, -view / 3));
    else if (placing == Placing::Middle)
        SetTop(scroll_.Advance(start, -(view - height) / 2));
    else if (start < top_)
        SetTop(start);
    else if (scroll_.Advance(top_, view) < end)
        SetTop(scroll_.Advance(end, -view));
}
