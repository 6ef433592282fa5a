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
        const TextRange word{start, std::min(count, pane.Length() - start)};
        ResultList::Builder builder(pane.Text(), ResultList::Form::Words);
        builder.Add(word);
        pane.MarkRed(std::make_shared<const ResultList>(std::move(builder).Finish()));
        model.Paint(static_cast<std::size_t>(word.start), static_cast<std::size_t>(word.length),
                    kRed);
        break;
    }
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
