#pragma once

#include "platform/ColourRuns.h"

#include <QString>

#include <cstdint>
#include <span>

class PaneObserver;

// One text pane of the window: the only store of a text and its colouring. Text reads back
// exactly as written, code unit for code unit; positions index that string (a CR LF counts two).
// A view (the on-screen widget) observes it; without one it works the same, headless.
class Pane {
public:
    Pane() = default;
    Pane(const Pane&) = delete;
    Pane& operator=(const Pane&) = delete;

    const QString& Text() const { return text_; }
    // Replaces the content; all colour goes and the selection returns to the start.
    void SetText(QString text);
    // Adds text at the end, in black, keeping the colour of what is there.
    void AppendText(QStringView text);
    // Replaces the content with a file's text (see ReadTextFile); throws Failure.
    void LoadFile(const QString& path);

    qsizetype SelStart() const { return selStart_; }
    qsizetype SelLength() const { return selLength_; }
    // Moving the start empties the selection; both are kept within the text.
    void SetSelStart(qsizetype start);
    void SetSelLength(qsizetype length);
    // Colours exactly the selected code units; the text does not change.
    void SetSelColor(Colour colour);
    // Colours many ranges at once (sorted by start, not overlapping): one change for the view.
    void ColourRanges(std::span<const TextRange> sortedRanges, Colour colour);
    // Takes colours painted elsewhere (see ColourRuns::Painter) for the whole text at once.
    void SetColours(ColourRuns colours);
    const ColourRuns& Colours() const { return colours_; }

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

    // Counts every change of the text (not of its colour), so that a long run can tell whether
    // the text it started from is still the one shown.
    std::uint64_t TextGeneration() const { return generation_; }

    // An edit made in the view: `removed` units at `position` become `inserted`.
    void ReplaceFromView(qsizetype position, qsizetype removed, QStringView inserted);
    void SetObserver(PaneObserver* observer) { observer_ = observer; }

private:
    void TextChanged();

    QString text_;
    ColourRuns colours_;
    qsizetype selStart_ = 0;
    qsizetype selLength_ = 0;
    bool visible_ = true;
    std::uint64_t generation_ = 0;
    PaneObserver* observer_ = nullptr;
};
