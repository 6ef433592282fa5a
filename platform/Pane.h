#pragma once

#include "platform/ColourRuns.h"
#include "platform/EditHistory.h"
#include "platform/MarkLayer.h"
#include "platform/PaneText.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>

class PaneObserver;
class PlainText;
class ResultList;
struct TextFileForm;
class TextLines;

// One text pane of the window: the only store of a text and its colouring. Text reads back
// exactly as written, code unit for code unit; positions index that string (a CR LF counts two).
// A view (the on-screen widget) observes it; without one it works the same, headless.
//
// The text is held whole, or, for a list of differences, as the places of its entries in the text
// they came from (see ResultList); either way Content() reads it line by line without spelling it
// out, which is how the view draws it. Colour is kept as runs, plus, after a comparison, the
// entries of a list marked red where they stand (ResultList::Mark), so that millions of red lines
// or words cost no more than the list that names them; edits keep them so (see MarkLayer).
class Pane {
public:
    Pane();
    ~Pane();
    Pane(const Pane&) = delete;
    Pane& operator=(const Pane&) = delete;

    // The whole text. A list is spelled out on first reading and kept until the text changes:
    // the view and the save never need this.
    const QString& Text() const;
    const PaneText& Content() const;
    qsizetype Length() const { return Content().Length(); }
    // About what the pane holds, in bytes: its text (or list), line index and colours.
    qint64 MemoryBytes() const;

    // Replaces the content; all colour goes, the selection returns to the start and there is
    // nothing left to undo.
    void SetText(QString text);
    // The same, with the text's lines already cut (on another thread).
    void SetText(QString text, TextLines lines);
    // Adds text at the end, in black, keeping the colour of what is there.
    void AppendText(QStringView text);
    // Adds a list at the end, in black. An empty pane shows it by place; otherwise it is spelled
    // out after the text.
    void AppendList(std::shared_ptr<const ResultList> list);

    // The selection never splits a CR LF or a surrogate pair (see CaretPlaces): an end that would
    // fall inside one moves out of it, away from the other end, so that the selection takes the
    // whole pair; a caret alone moves to the pair's start.
    qsizetype SelStart() const { return std::min(anchor_, caret_); }
    qsizetype SelLength() const { return std::abs(caret_ - anchor_); }
    // The program's own choice of code units, for SetSelColor. Moving the start empties it; both
    // are kept within the text. The selection shown follows, out of any pair.
    void SetSelStart(qsizetype start);
    void SetSelLength(qsizetype length);
    // The selection as the user makes it: where it was begun and where the caret is.
    qsizetype Anchor() const { return anchor_; }
    qsizetype Caret() const { return caret_; }
    void Select(qsizetype anchor, qsizetype caret);

    // Colours exactly the code units last chosen through SetSelStart and SetSelLength, even
    // within a pair, or else those selected; the text does not change.
    void SetSelColor(Colour colour);
    // Colours many ranges at once (sorted by start, not overlapping): one change for the view.
    void ColourRanges(std::span<const TextRange> sortedRanges, Colour colour);
    // Marks each entry of `list`, a list cut from this very text, red, as one change.
    void MarkRed(std::shared_ptr<const ResultList> list);
    Colour ColourAt(qsizetype position) const;
    // Every run of one colour that overlaps [from, to), clipped to it, in order; neighbouring runs
    // may share a colour.
    template <typename Visit>
    void ForEachColourRun(qsizetype from, qsizetype to, Visit visit) const;
    // The maximal runs of one colour, in order.
    std::vector<TextRange> RangesOf(Colour colour) const;
    // The first red stretch that begins after `position` (forward) or before it (backward); an
    // empty range when there is none. A stretch is a run of red units, or a mark (a word or line
    // marked red, with what edits added to it; each part of one that an edit or a colour cut).
    TextRange RedNear(qsizetype position, bool forward) const;
    // The first run of `colour` that begins after `position`; an empty range when there is none.
    TextRange ColourRunFrom(Colour colour, qsizetype position) const {
        return runs_.RunFrom(colour, position + 1);
    }

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

    // How far a long piece of work that fills this pane has come, in thousandths; nothing when
    // none runs. Only shown, never read back by the program.
    std::optional<int> Progress() const { return progress_; }
    void SetProgress(std::optional<int> permille);

    // What the last comparison found in this text, in a sentence for the user (its tooltip); it
    // goes when the text changes.
    const QString& Summary() const { return summary_; }
    void SetSummary(QString summary) {
        summary_ = std::move(summary);
        ++summaryGeneration_;
    }
    // Counts the summaries set, so that work that completes one can tell it is still the latest.
    std::uint64_t SummaryGeneration() const { return summaryGeneration_; }
    // What the last comparison can tell of the red stretch at a position (its look-alike, say),
    // for a tooltip; worked out when asked. It goes when the text changes or the colours are
    // reset.
    using TipSource = std::function<QString(qsizetype position)>;
    void SetTips(TipSource tips) { tips_ = std::move(tips); }
    QString TipAt(qsizetype position) const { return tips_ ? tips_(position) : QString(); }
    // A flag that work beside the window, which will report on this text, watches: raised when
    // the text changes, or when other such work takes its place.
    std::shared_ptr<const std::atomic<bool>> StartReportingWork();
    // Held by such work, so that what it reports reaches the pane only while the pane is there.
    std::weak_ptr<Pane*> Lifetime() const { return self_; }

    // Counts every change of the text (not of its colour), so that a long run can tell whether
    // the text it started from is still the one shown.
    std::uint64_t TextGeneration() const { return generation_; }

    // An edit by the user: `removed` units at `position` become `inserted`, which take the colour
    // of the text before them (at the start, of the text after them), inside its red mark if it
    // has one; the caret goes after them, and after the pair they make should they join a lone CR
    // to a lone LF or two halves of a character. `typed` edits that follow one another are undone
    // together.
    void Edit(qsizetype position, qsizetype removed, QStringView inserted, bool typed = false);
    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }
    void Undo();
    void Redo();

    void SetObserver(PaneObserver* observer) { observer_ = observer; }

    // Where the text came from, for the user: a file's full path, or nothing. The first line of
    // the pane's tooltip.
    const QString& Origin() const { return origin_; }
    void SetOrigin(QString origin) { origin_ = std::move(origin); }
    // Set when a text that was compared has changed since the red marks were made: they stay, but
    // are drawn faded, and the tooltip says why. A comparison's new marks clear it.
    bool Stale() const { return !staleNote_.isEmpty(); }
    const QString& StaleNote() const { return staleNote_; }
    void SetStale(QString note);
    // Whether anything is coloured red, as marks from a comparison are.
    bool HasRed() const;
    // Told after every change of the text, once the change is made, and whether the user made it
    // (an edit, undo or redo) or the program did.
    using TextListener = std::function<void(bool byUser)>;
    void SetTextListener(TextListener listener) { textListener_ = std::move(listener); }

    // How the file that the text came from held it (its encoding and line breaks), so that a save
    // can write the text as that file had it; nothing for typed or pasted text. For a list, the
    // file of the text it was cut from. A new text (SetText) or an emptied pane forgets it; edits
    // keep it: an edited text is still written with its file's line breaks.
    const std::shared_ptr<const TextFileForm>& FileForm() const { return fileForm_; }
    // Also takes the text as it is now for the file's own.
    void SetFileForm(std::shared_ptr<const TextFileForm> form);
    // Whether the text is still the file's own, unchanged since SetFileForm.
    bool AsInFile() const { return fileForm_ && fileGeneration_ == generation_; }
    // The list of differences the text spells out, shown by place or written out, until the text
    // changes in any other way: a save writes its entries from it.
    const std::shared_ptr<const ResultList>& Listed() const { return listed_; }

    // A pane that a file is being loaded into takes no edits from the user until it is in:
    // what was typed meanwhile would be lost to the file, or the file to it.
    bool TakesEdits() const { return takesEdits_; }
    void SetTakesEdits(bool takes) { takesEdits_ = takes; }

    // Past how many parts (see MarkLayer) the red marks are packed anew; tests make it small.
    static constexpr std::size_t kMarkPartLimit = 16384;
    void SetMarkPartLimit(std::size_t parts) { markPartLimit_ = parts; }

private:
    void Replace(qsizetype position, QStringView removed, QStringView inserted,
                 const TextEdit* undone);
    PlainText& Plain();
    void FoldMarks();
    void CompactMarksIfMany();
    void TextChanged();
    void TellTextListener(bool byUser);
    void ClampSelection();
    void PlaceEnds(qsizetype anchor, qsizetype caret);
    void PlaceCaretAfterEdit(qsizetype end);

    std::unique_ptr<PlainText> plain_;       // the text, when held whole
    std::shared_ptr<const ResultList> list_; // or the list it shows
    mutable std::optional<QString> spelled_; // a list's text, once read whole
    ColourRuns runs_;
    MarkLayer marks_; // red on top of the runs
    MarkId nextMarkId_ = 1;
    std::size_t markPartLimit_ = kMarkPartLimit;
    EditHistory history_;
    qsizetype anchor_ = 0;
    qsizetype caret_ = 0;
    TextRange chosen_; // what SetSelColor colours: the selection, or the units the program chose
    bool visible_ = true;
    std::optional<int> progress_;
    QString summary_;
    TipSource tips_;
    std::shared_ptr<std::atomic<bool>> reportingStop_;
    std::shared_ptr<Pane*> self_ = std::make_shared<Pane*>(this);
    std::uint64_t generation_ = 0;
    std::uint64_t summaryGeneration_ = 0;
    QString origin_;
    std::shared_ptr<const TextFileForm> fileForm_;
    std::uint64_t fileGeneration_ = 0;
    std::shared_ptr<const ResultList> listed_;
    QString staleNote_;
    bool marked_ = false; // red has been put on the text since it was last reset
    TextListener textListener_;
    bool takesEdits_ = true;
    PaneObserver* observer_ = nullptr;
};

template <typename Visit>
void Pane::ForEachColourRun(qsizetype from, qsizetype to, Visit visit) const {
    runs_.ForEachRunIn(from, to, [&](TextRange run, Colour colour) {
        if (marks_.Empty() || colour == kRed) {
            visit(run, colour);
            return;
        }
        qsizetype done = run.start;
        for (MarkLayer::Walk walk = marks_.From(run.start); !walk.AtEnd(); walk.Next()) {
            const TextRange mark = walk.Mark();
            if (mark.start >= run.End())
                break;
            const qsizetype start = std::max(mark.start, run.start);
            const qsizetype end = std::min(mark.End(), run.End());
            if (start >= end)
                continue; // an empty word marks nothing
            if (start > done)
                visit(TextRange{done, start - done}, colour);
            visit(TextRange{start, end - start}, kRed);
            done = end;
        }
        if (done < run.End())
            visit(TextRange{done, run.End() - done}, colour);
    });
}
