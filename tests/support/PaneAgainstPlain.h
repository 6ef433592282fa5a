#pragma once

// Steps that can happen to a pane, done to the pane and to its plain model alike, and what tells
// the two apart afterwards: for tests that script the steps and for fuzzing that makes them up.
#include "PlainPane.h"
#include "platform/Pane.h"
#include "platform/ResultList.h"
#include "platform/TextLines.h"

#include <QString>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

struct PaneStep {
    enum class Kind {
        SetText,      // text
        AppendText,   // text
        Edit,         // at, count units removed, text
        Type,         // text over the selection, as keys type it
        Undo,         //
        Redo,         //
        Select,       // at (anchor), count (caret)
        SetSelStart,  // at
        SetSelLength, // count
        SetSelColor,  // colour
        Paint,        // at, count, colour: ColourRanges
        MarkRed,      // at, count: a list of one word marked red
        MarkWords,    // count: which words (bit i % 16 for word i), at: which are followed by an
                      // empty one (bit i % 8)
        MarkLines,    // count: which pieces of the text cut at CR (bit i % 16 for piece i)
    };
    PaneStep(Kind kind_, std::size_t at_ = 0, std::size_t count_ = 0, std::u16string text_ = {},
             Colour colour_ = kRed)
        : kind(kind_), at(at_), count(count_), text(std::move(text_)), colour(colour_) {}

    Kind kind;
    std::size_t at;
    std::size_t count;
    std::u16string text;
    Colour colour;
};

inline QString AsQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// Marks the ranges (sorted, none overlapping) as one list of words or of lines, cut from the
// pane's text; the model takes each entry's mark. Gives back the list.
inline std::shared_ptr<const ResultList> MarkList(Pane& pane, plain::PlainPane& model,
                                                  const std::vector<TextRange>& entries,
                                                  ResultList::Form form) {
    ResultList::Builder builder(pane.Text(), form);
    std::vector<plain::Stretch> marks;
    for (const TextRange& entry : entries) {
        builder.Add(entry);
        const bool withCR = form == ResultList::Form::Pieces && entry.End() < pane.Length();
        marks.push_back({entry.start, entry.length + (withCR ? 1 : 0)});
    }
    auto list = std::make_shared<const ResultList>(std::move(builder).Finish());
    pane.MarkRed(list);
    model.MarkRed(marks);
    return list;
}

// Words: runs of units other than blanks and breaks; pieces: what lies between CRs.
inline std::vector<TextRange> ChosenWords(std::u16string_view text, std::uint64_t chosen,
                                          std::uint64_t emptyAfter) {
    std::vector<TextRange> words;
    qsizetype index = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto apart = [&](std::size_t at) {
            return text[at] == u' ' || text[at] == u'\r' || text[at] == u'\n';
        };
        if (apart(i)) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && !apart(end))
            ++end;
        if ((chosen >> (index % 16)) & 1) {
            words.push_back({static_cast<qsizetype>(i), static_cast<qsizetype>(end - i)});
            if ((emptyAfter >> (index % 8)) & 1)
                words.push_back({static_cast<qsizetype>(end), 0});
        }
        ++index;
        i = end;
    }
    return words;
}

inline std::vector<TextRange> ChosenPieces(std::u16string_view text, std::uint64_t chosen) {
    std::vector<TextRange> pieces;
    std::size_t start = 0;
    for (qsizetype index = 0; start <= text.size(); ++index) {
        std::size_t end = text.find(u'\r', start);
        if (end == std::u16string_view::npos)
            end = text.size();
        if ((chosen >> (index % 16)) & 1)
            pieces.push_back({static_cast<qsizetype>(start), static_cast<qsizetype>(end - start)});
        start = end + 1;
    }
    return pieces;
}

inline void Apply(const PaneStep& step, Pane& pane, plain::PlainPane& model) {
    using Kind = PaneStep::Kind;
    const auto at = static_cast<qsizetype>(step.at);
    const auto count = static_cast<qsizetype>(step.count);
    switch (step.kind) {
    case Kind::SetText:
        pane.SetText(AsQString(step.text));
        model.SetText(step.text);
        break;
    case Kind::AppendText:
        pane.AppendText(AsQString(step.text));
        model.AppendText(step.text);
        break;
    case Kind::Edit:
        pane.Edit(at, count, AsQString(step.text));
        model.Edit(step.at, step.count, step.text, false);
        break;
    case Kind::Type:
        pane.Edit(pane.SelStart(), pane.SelLength(), AsQString(step.text), true);
        model.Edit(model.SelStart(), model.SelLength(), step.text, true);
        break;
    case Kind::Undo:
        pane.Undo();
        model.Undo();
        break;
    case Kind::Redo:
        pane.Redo();
        model.Redo();
        break;
    case Kind::Select:
        pane.Select(at, count);
        model.Select(step.at, step.count);
        break;
    case Kind::SetSelStart:
        pane.SetSelStart(at);
        model.SetSelStart(step.at);
        break;
    case Kind::SetSelLength:
        pane.SetSelLength(count);
        model.SetSelLength(step.count);
        break;
    case Kind::SetSelColor:
        pane.SetSelColor(step.colour);
        model.SetSelColor(step.colour);
        break;
    case Kind::Paint: {
        const TextRange range{at, count};
        pane.ColourRanges(std::span(&range, 1), step.colour);
        model.Paint(step.at, step.count, step.colour);
        break;
    }
    case Kind::MarkRed: {
        const qsizetype start = std::min(at, pane.Length());
        MarkList(pane, model, {{start, std::min(count, pane.Length() - start)}},
                 ResultList::Form::Words);
        break;
    }
    case Kind::MarkWords:
        MarkList(pane, model, ChosenWords(model.Text(), step.count, step.at),
                 ResultList::Form::Words);
        break;
    case Kind::MarkLines:
        MarkList(pane, model, ChosenPieces(model.Text(), step.count), ResultList::Form::Pieces);
        break;
    }
}

// The first way in which the pane differs from its model, or breaks a rule of its own, as a
// sentence; empty when there is none.
inline std::string Mismatch(const Pane& pane, const plain::PlainPane& model) {
    const QString text = pane.Text();
    const std::u16string_view units(reinterpret_cast<const char16_t*>(text.utf16()),
                                    static_cast<std::size_t>(text.size()));
    if (units != model.Text())
        return "the text differs";
    std::vector<Colour> colours;
    pane.ForEachColourRun(0, pane.Length(), [&](TextRange run, Colour colour) {
        colours.insert(colours.end(), static_cast<std::size_t>(run.length), colour);
    });
    if (colours != model.Colours())
        return "the colours differ";
    if (pane.HasRed() != model.HasRed())
        return "whether anything was marked red differs";
    const std::vector<plain::Stretch> runs = model.RedRuns();
    const std::vector<plain::Stretch> marks = model.MarkStretches();
    for (std::ptrdiff_t position = -1; position <= static_cast<std::ptrdiff_t>(units.size()) + 1;
         ++position) {
        for (const bool forward : {true, false}) {
            const TextRange found = pane.RedNear(position, forward);
            const plain::Stretch expected = plain::NearestRed(runs, marks, position, forward);
            if (found.start != expected.start || found.length != expected.length)
                return "the red stretch " + std::string(forward ? "after " : "before ") +
                       std::to_string(position) + " differs";
        }
    }
    if (plain::SplitsPair(units, static_cast<std::size_t>(pane.Anchor())) ||
        plain::SplitsPair(units, static_cast<std::size_t>(pane.Caret())))
        return "an end of the selection stands inside a pair";
    if (static_cast<std::size_t>(pane.Anchor()) != model.Anchor() ||
        static_cast<std::size_t>(pane.Caret()) != model.Caret())
        return "the selection differs";
    if (pane.CanUndo() != model.CanUndo() || pane.CanRedo() != model.CanRedo())
        return "what can be undone or redone differs";
    const std::vector<plain::PaneLine> lines = plain::PaneLines(units);
    const PaneText& content = pane.Content();
    const TextLines cut(text);
    if (content.LineCount() != static_cast<qsizetype>(lines.size()) ||
        cut.Count() != content.LineCount())
        return "the number of lines differs";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto line = static_cast<qsizetype>(i);
        if (content.LineStart(line) != static_cast<qsizetype>(lines[i].start) ||
            content.LineEnd(line) != static_cast<qsizetype>(lines[i].end) ||
            cut.Start(line) != content.LineStart(line) ||
            cut.End(text, line) != content.LineEnd(line))
            return "line " + std::to_string(i) + " differs";
    }
    // A position belongs to the last line that starts at or before it, a break to the line it ends.
    std::size_t line = 0;
    for (std::size_t position = 0; position <= units.size(); ++position) {
        while (line + 1 < lines.size() && lines[line + 1].start <= position)
            ++line;
        if (content.LineAt(static_cast<qsizetype>(position)) != static_cast<qsizetype>(line))
            return "the line of position " + std::to_string(position) + " differs";
    }
    return {};
}
