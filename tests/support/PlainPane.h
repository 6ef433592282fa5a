#pragma once

// A pane's editing rules spelled out as plainly as they can be: the text as a string, a colour
// for each unit, the selection as two numbers and each edit kept whole for undo, with none of the
// pane's runs, line index or shared lists, to hold the pane against in tests and fuzzing.
#include "platform/Colour.h"

#include <algorithm>
#include <cstddef>
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
    // The colour of each unit.
    const std::vector<Colour>& Colours() const { return colours_; }
    std::size_t Anchor() const { return anchor_; }
    std::size_t Caret() const { return caret_; }
    std::size_t SelStart() const { return std::min(anchor_, caret_); }
    std::size_t SelLength() const { return std::max(anchor_, caret_) - SelStart(); }
    bool CanUndo() const { return !done_.empty(); }
    bool CanRedo() const { return !undone_.empty(); }

    void SetText(std::u16string_view text) {
        text_ = text;
        colours_.assign(text_.size(), kBlack);
        anchor_ = caret_ = chosenStart_ = chosenLength_ = 0;
        done_.clear();
        undone_.clear();
        lastTyped_ = false;
    }

    void AppendText(std::u16string_view text) {
        text_ += text;
        colours_.resize(text_.size(), kBlack);
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

    void Paint(std::size_t start, std::size_t length, Colour colour) {
        for (std::size_t i = start; i < start + length && i < text_.size(); ++i)
            colours_[i] = colour;
    }

    // New units take the colour of the unit before them (at the start: of the unit after the
    // removed ones); the caret goes after them, and past a pair the edit joined.
    void Edit(std::size_t position, std::size_t removed, std::u16string_view inserted, bool typed) {
        position = std::min(position, text_.size());
        removed = std::min(removed, text_.size() - position);
        if (removed == 0 && inserted.empty())
            return;
        Step step{position,
                  text_.substr(position, removed),
                  {colours_.begin() + static_cast<std::ptrdiff_t>(position),
                   colours_.begin() + static_cast<std::ptrdiff_t>(position + removed)},
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
        Replace(step.position, step.inserted.size(), step.removed, &step.removedColours);
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

    void Replace(std::size_t position, std::size_t removed, std::u16string_view inserted,
                 const std::vector<Colour>* insertedColours) {
        const std::size_t after = position + removed;
        const Colour neighbour = position > 0              ? colours_[position - 1]
                                 : after < colours_.size() ? colours_[after]
                                                           : kBlack;
        std::vector<Colour> added =
            insertedColours ? *insertedColours : std::vector<Colour>(inserted.size(), neighbour);
        text_.replace(position, removed, inserted);
        const auto at = colours_.begin() + static_cast<std::ptrdiff_t>(position);
        colours_.erase(at, at + static_cast<std::ptrdiff_t>(removed));
        colours_.insert(colours_.begin() + static_cast<std::ptrdiff_t>(position), added.begin(),
                        added.end());
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
    std::vector<Colour> colours_;
    std::size_t anchor_ = 0;
    std::size_t caret_ = 0;
    std::size_t chosenStart_ = 0;
    std::size_t chosenLength_ = 0;
    std::vector<Step> done_;
    std::vector<Step> undone_;
    bool lastTyped_ = false;
};

} // namespace plain
