#include "compare/FindWordDifferences.h"

#include "compare/WordPass.h"
#include "platform/Utf16View.h"

#include <future>
#include <optional>
#include <vector>

namespace {

// One pass as the panes take it: the list for the result pane, the full pane's colours with the
// unmatched words red, and the last unmatched word, where the selection goes.
struct PassForPanes {
    QString list;
    ColourRuns colours;
    std::optional<TextRange> last; // an empty word colours nothing but still takes the selection
};

PassForPanes WorkOutPass(std::u16string_view own, std::u16string_view other,
                         const ColourRuns& ownColours) {
    PassForPanes pass;
    pass.list.reserve(static_cast<qsizetype>(own.size()));
    ColourRuns::Painter painter(ownColours, kRed, own.size() / 8);
    compare::ForEachUnmatchedWord(
        own, other,
        [&](std::size_t start, std::size_t length) {
            pass.list.append(u"\r\n").append(
                QStringView(own.data() + start, static_cast<qsizetype>(length)));
            pass.last = TextRange{static_cast<qsizetype>(start), static_cast<qsizetype>(length)};
            painter.Add(*pass.last);
        },
        [](std::size_t) { return true; });
    pass.colours = std::move(painter).Finish();
    return pass;
}

void ShowPass(Pane& full, Pane& result, PassForPanes pass) {
    full.SetColours(std::move(pass.colours));
    if (pass.last) {
        full.SetSelStart(pass.last->start);
        full.SetSelLength(pass.last->length);
    }
    result.SetText(std::move(pass.list));
}

// Three numbered statements: the whole pane selected and coloured black.
void ResetToBlack(Pane& pane, GuardedProcedure& proc, int firstStep) {
    proc.Step(firstStep, [&] { pane.SetSelStart(0); });
    proc.Step(firstStep + 2, [&] { pane.SetSelLength(pane.Text().size()); });
    proc.Step(firstStep + 4, [&] { pane.SetSelColor(kBlack); });
}

} // namespace

void FindWordDifferences(Panes& panes, GuardedProcedure& proc) {
    ResetToBlack(panes.RichTextBox1, proc, 108);
    ResetToBlack(panes.RichTextBox2, proc, 114);
    QString one;
    QString two;
    proc.Step(120, [&] { one = panes.RichTextBox1.Text(); });
    proc.Step(122, [&] { two = panes.RichTextBox2.Text(); });
    proc.Step(132, [&] { panes.RichTextBox3.SetText({}); });
    proc.Step(134, [&] { panes.RichTextBox4.SetText({}); });
    // The second pass reads the second pane's colours while the first pass shows its own.
    auto secondPass = std::async(std::launch::async, WorkOutPass, AsU16(two), AsU16(one),
                                 std::cref(panes.RichTextBox2.Colours()));
    proc.Step(138, [&] {
        ShowPass(panes.RichTextBox1, panes.RichTextBox3,
                 WorkOutPass(AsU16(one), AsU16(two), panes.RichTextBox1.Colours()));
    });
    proc.Step(154, [&] { ShowPass(panes.RichTextBox2, panes.RichTextBox4, secondPass.get()); });
}
