#include "compare/FindWordDifferences.h"

#include "platform/Utf16View.h"

#include <vector>

namespace {

// Three numbered statements: the whole pane selected and coloured black.
void ResetToBlack(Pane& pane, GuardedProcedure& proc, int firstStep) {
    proc.Step(firstStep, [&] { pane.SetSelStart(0); });
    proc.Step(firstStep + 2, [&] { pane.SetSelLength(pane.Text().size()); });
    proc.Step(firstStep + 4, [&] { pane.SetSelColor(kBlack); });
}

} // namespace

void ShowWordPass(Pane& full, Pane& result, const compare::WordPass& pass) {
    std::vector<TextRange> ranges;
    ranges.reserve(pass.marks.size());
    for (const compare::WordMark& mark : pass.marks)
        if (mark.length > 0)
            ranges.push_back(
                {static_cast<qsizetype>(mark.start), static_cast<qsizetype>(mark.length)});
    full.ColourRanges(ranges, kRed);
    if (!pass.marks.empty()) {
        // An unmatched empty word colours nothing but still takes the selection.
        full.SetSelStart(static_cast<qsizetype>(pass.marks.back().start));
        full.SetSelLength(static_cast<qsizetype>(pass.marks.back().length));
    }
    result.SetText(AsQt(pass.list).toString());
}

void FindWordDifferences(Panes& panes, GuardedProcedure& proc) {
    ResetToBlack(panes.RichTextBox1, proc, 108);
    ResetToBlack(panes.RichTextBox2, proc, 114);
    QString one;
    QString two;
    proc.Step(120, [&] { one = panes.RichTextBox1.Text(); });
    proc.Step(122, [&] { two = panes.RichTextBox2.Text(); });
    proc.Step(132, [&] { panes.RichTextBox3.SetText({}); });
    proc.Step(134, [&] { panes.RichTextBox4.SetText({}); });
    proc.Step(138, [&] {
        ShowWordPass(panes.RichTextBox1, panes.RichTextBox3,
                     compare::ComparePass(AsU16(one), AsU16(two)));
    });
    proc.Step(154, [&] {
        ShowWordPass(panes.RichTextBox2, panes.RichTextBox4,
                     compare::ComparePass(AsU16(two), AsU16(one)));
    });
}
