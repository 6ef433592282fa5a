#pragma once

// A pane's editing rules spelled out as plainly as they can be: the text as a string, a colour
// and a red mark for each unit, the selection as two numbers and each edit kept whole for undo,
// with none of the pane's runs, line index or shared lists, to hold the pane against in tests and
// fuzzing.
#include "platform/Colour.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plain {

inline bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

inline bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Whether `position` stands between the two units of a CR LF or of a surrogate pair, where no
// caret may stand.
inline bool SplitsPair(std::u16string_view text, std::size_t position) {
    if (position == 0 || position >= text.size())
        return false;
    const char16_t before = text[position - 1];
    const char16_t after = text[position];
    return (before == u'\r' && after == u'\n') ||
           (IsHighSurrogate(before) && IsLowSurrogate(after));
}

// A line of a pane: every CR LF, lone CR and lone LF ends one; `end` is where its break begins.
struct PaneLine {
    std::size_t start = 0;
    std::size_t end = 0;
};

// A stretch of red that the navigation keys select: where it starts and how long it is.
struct Stretch {
    std::ptrdiff_t start = 0;
    std::ptrdiff_t length = 0;
    friend bool operator==(const Stretch&, const Stretch&) = default;
};

// The first stretch that begins at or after `position` (forward), or the last that begins before
// it; an empty one when there is none.
inline Stretch Nearest(const std::vector<Stretch>& stretches, std::ptrdiff_t position,
                       bool forward) {
    Stretch found;
    for (const Stretch& stretch : stretches) {
        if (forward && stretch.start >= position)
            return stretch;
        if (!forward && stretch.start < position)
            found = stretch;
    }
    return found;
}

// Of the red runs and the marks, the nearer stretch that begins after `position` (forward) or
// before it; a run rather than a mark that begins with it.
inline Stretch NearestRed(const std::vector<Stretch>& runs, const std::vector<Stretch>& marks,
                          std::ptrdiff_t position, bool forward) {
    const Stretch run = Nearest(runs, forward ? position + 1 : position, forward);
    const Stretch mark = Nearest(marks, forward ? position + 1 : position, forward);
    if (mark.length == 0 ||
        (run.length > 0 && (forward ? mark.start >= run.start : mark.start <= run.start)))
        return run;
    return mark;
}

inline std::vector<PaneLine> PaneLines(std::u16string_view text) {
    std::vector<PaneLine> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        lines.push_back({start, i});
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    lines.push_back({start, text.size()});
    return lines;
}

class PlainPane {
public:
    const std::u16string& Text() const { return text_; }
    // The colour each unit shows: red in a mark, else its own.
    std::vector<Colour> Colours() const {
        std::vector<Colour> shown = colours_;
        for (std::size_t i = 0; i < shown.size(); ++i)
            if (marks_[i] != 0)
                shown[i] = kRed;
        return shown;
    }
    // Whether red has been put on the text since its colours were last reset.
    bool HasRed() const { return marked_; }
    std::size_t Anchor() const { return anchor_; }
    std::size_t Caret() const { return caret_; }
    std::size_t SelStart() const { return std::min(anchor_, caret_); }
    std::size_t SelLength() const { return std::max(anchor_, caret_) - SelStart(); }
    bool CanUndo() const { return !done_.empty(); }
    bool CanRedo() const { return !undone_.empty(); }

    void SetText(std::u16string_view text) {
        text_ = text;
        colours_.assign(text_.size(), kBlack);
        marks_.assign(text_.size(), 0);
        marked_ = false;
        anchor_ = caret_ = chosenStart_ = chosenLength_ = 0;
        done_.clear();
        undone_.clear();
        lastTyped_ = false;
    }

    void AppendText(std::u16string_view text) {
        text_ += text;
        colours_.resize(text_.size(), kBlack);
        marks_.resize(text_.size(), 0);
        PlaceEnds(anchor_, caret_); // what was added may complete a pair at the caret
    }

    // An end inside a pair moves away from the other end; a caret alone to the pair's start.
    void Select(std::size_t anchor, std::size_t caret) {
        PlaceEnds(std::min(anchor, text_.size()), std::min(caret, text_.size()));
        chosenStart_ = SelStart();
        chosenLength_ = SelLength();
    }

    void SetSelStart(std::size_t start) {
        chosenStart_ = std::min(start, text_.size());
        chosenLength_ = 0;
        PlaceEnds(chosenStart_, chosenStart_);
    }

    void SetSelLength(std::size_t length) {
        chosenLength_ = std::min(length, text_.size() - chosenStart_);
        PlaceEnds(chosenStart_, chosenStart_ + chosenLength_);
    }

    // The units chosen through SetSelStart and SetSelLength, or else those selected.
    void SetSelColor(Colour colour) { Paint(chosenStart_, chosenLength_, colour); }

    // Colour over the whole text resets it, marks and all, before it paints; another colour than
    // red takes the marks off the units it paints.
    void Paint(std::size_t start, std::size_t length, Colour colour) {
        if (start == 0 && length >= text_.size()) {
            colours_.assign(text_.size(), kBlack);
            marks_.assign(text_.size(), 0);
            marked_ = false;
        }
        for (std::size_t i = start; i < start + length && i < text_.size(); ++i) {
            colours_[i] = colour;
            if (colour != kRed)
                marks_[i] = 0;
        }
        marked_ = marked_ || colour == kRed;
    }

    // Each range becomes a red mark of its own; the marks there were turn into plain red.
    void MarkRed(const std::vector<Stretch>& ranges) {
        for (std::size_t i = 0; i < text_.size(); ++i) {
            if (marks_[i] != 0)
                colours_[i] = kRed;
            marks_[i] = 0;
        }
        for (const Stretch& range : ranges) {
            ++lastMark_;
            for (std::ptrdiff_t i = range.start; i < range.start + range.length; ++i)
                marks_[static_cast<std::size_t>(i)] = lastMark_;
        }
        marked_ = marked_ || !ranges.empty();
    }

    // The runs of units whose own colour is red, and the stretches of units of one mark.
    std::vector<Stretch> RedRuns() const {
        return Runs([&](std::size_t i) { return colours_[i] == kRed ? 1 : 0; });
    }
    std::vector<Stretch> MarkStretches() const {
        return Runs([&](std::size_t i) { return marks_[i]; });
    }
    Stretch RedNear(std::ptrdiff_t position, bool forward) const {
        return NearestRed(RedRuns(), MarkStretches(), position, forward);
    }

    // New units take the colour of the unit before them (at the start: of the unit after the
    // removed ones); the caret goes after them, and past a pair the edit joined.
    void Edit(std::size_t position, std::size_t removed, std::u16string_view inserted, bool typed) {
        position = std::min(position, text_.size());
        removed = std::min(removed, text_.size() - position);
        if (removed == 0 && inserted.empty())
            return;
        const auto from = static_cast<std::ptrdiff_t>(position);
        const auto to = static_cast<std::ptrdiff_t>(position + removed);
        Step step{position,
                  text_.substr(position, removed),
                  {colours_.begin() + from, colours_.begin() + to},
                  {marks_.begin() + from, marks_.begin() + to},
                  std::u16string(inserted),
                  anchor_,
                  caret_};
        Replace(position, removed, inserted, nullptr);
        Record(std::move(step), typed);
        CaretAfterEdit(position + inserted.size());
    }

    // The text, its colours and the selection as they were before the last edit.
    void Undo() {
        if (done_.empty())
            return;
        Step step = std::move(done_.back());
        done_.pop_back();
        lastTyped_ = false;
        Replace(step.position, step.inserted.size(), step.removed, &step);
        Select(step.anchorBefore, step.caretBefore);
        undone_.push_back(std::move(step));
    }

    void Redo() {
        if (undone_.empty())
            return;
        Step step = std::move(undone_.back());
        undone_.pop_back();
        Replace(step.position, step.removed.size(), step.inserted, nullptr);
        CaretAfterEdit(step.position + step.inserted.size());
        done_.push_back(std::move(step));
    }

private:
    struct Step {
        std::size_t position;
        std::u16string removed;
        std::vector<Colour> removedColours;
        std::vector<std::uint64_t> removedMarks;
        std::u16string inserted;
        std::size_t anchorBefore;
        std::size_t caretBefore;
    };

    std::size_t OutOfPair(std::size_t position, bool forward) const {
        if (!SplitsPair(text_, position))
            return position;
        return forward ? position + 1 : position - 1;
    }

    void PlaceEnds(std::size_t anchor, std::size_t caret) {
        const bool backward = caret < anchor;
        anchor_ = OutOfPair(anchor, backward);
        caret_ = OutOfPair(caret, !backward && caret != anchor);
    }

    void CaretAfterEdit(std::size_t end) {
        const std::size_t after = OutOfPair(end, true);
        Select(after, after);
    }

    // New units take the colour and the mark of their neighbour, unless an undone step gives
    // them their own back.
    void Replace(std::size_t position, std::size_t removed, std::u16string_view inserted,
                 const Step* undone) {
        const std::size_t after = position + removed;
        const std::size_t neighbour = position > 0 ? position - 1 : after;
        const bool has = neighbour < colours_.size();
        std::vector<Colour> colours =
            undone ? undone->removedColours
                   : std::vector<Colour>(inserted.size(), has ? colours_[neighbour] : kBlack);
        std::vector<std::uint64_t> marks =
            undone ? undone->removedMarks
                   : std::vector<std::uint64_t>(inserted.size(), has ? marks_[neighbour] : 0);
        text_.replace(position, removed, inserted);
        Splice(colours_, position, removed, colours);
        Splice(marks_, position, removed, marks);
    }

    template <typename Unit>
    static void Splice(std::vector<Unit>& units, std::size_t position, std::size_t removed,
                       const std::vector<Unit>& added) {
        const auto at = units.begin() + static_cast<std::ptrdiff_t>(position);
        units.erase(at, at + static_cast<std::ptrdiff_t>(removed));
        units.insert(units.begin() + static_cast<std::ptrdiff_t>(position), added.begin(),
                     added.end());
    }

    // Maximal runs of units of one key other than 0.
    template <typename Key> std::vector<Stretch> Runs(Key key) const {
        std::vector<Stretch> runs;
        for (std::size_t i = 0; i < text_.size(); ++i) {
            const auto k = key(i);
            if (k == 0)
                continue;
            const auto at = static_cast<std::ptrdiff_t>(i);
            if (i > 0 && key(i - 1) == k && !runs.empty() &&
                runs.back().start + runs.back().length == at)
                ++runs.back().length;
            else
                runs.push_back({at, 1});
        }
        return runs;
    }

    // Insertions typed one after the other, each where the last ended, are one step.
    void Record(Step step, bool typed) {
        undone_.clear();
        if (typed && lastTyped_ && !done_.empty() && step.removed.empty() &&
            done_.back().removed.empty() &&
            done_.back().position + done_.back().inserted.size() == step.position) {
            done_.back().inserted += step.inserted;
            return;
        }
        done_.push_back(std::move(step));
        lastTyped_ = typed;
    }

    std::u16string text_;
    std::vector<Colour> colours_;      // each unit's own colour
    std::vector<std::uint64_t> marks_; // each unit's red mark, 0 for none
    std::uint64_t lastMark_ = 0;
    bool marked_ = false;
    std::size_t anchor_ = 0;
    std::size_t caret_ = 0;
    std::size_t chosenStart_ = 0;
    std::size_t chosenLength_ = 0;
    std::vector<Step> done_;
    std::vector<Step> undone_;
    bool lastTyped_ = false;
};

} // namespace plain
