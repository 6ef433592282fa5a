#include "compare/FindWordDifferences.h"

#include "compare/LargePages.h"
#include "compare/WordComparison.h"
#include "platform/Utf16View.h"

#include <algorithm>
#include <cstring>
#include <future>
#include <optional>
#include <vector>

namespace {

constexpr qsizetype kShortWord = 16;

// One pass as the panes take it: the list for the result pane, the full pane's colours with the
// unmatched words red, and the last unmatched word, where the selection goes.
struct PassForPanes {
    QString list;
    ColourRuns colours;
    std::optional<TextRange> last; // an empty word colours nothing but still takes the selection
};

PassForPanes WorkOutPass(const compare::WordIndex& own, const compare::WordIndex& other,
                         const ColourRuns& ownColours) {
    PassForPanes pass;
    // Each word listed costs its own units and a CR LF. Room for the most is only address space
    // until it is written to.
    const auto words = static_cast<qsizetype>(own.FirstWord(own.LineCount()));
    pass.list.resize(static_cast<qsizetype>(own.Text().size()) + 2 * words + kShortWord);
    auto* out = reinterpret_cast<char16_t*>(pass.list.data());
    compare::AdviseLargePages(out, static_cast<std::size_t>(pass.list.size()) * sizeof(char16_t));
    const char16_t* const textEnd = own.Text().data() + own.Text().size();
    ColourRuns::Painter painter(ownColours, kRed, static_cast<std::size_t>(words));
    compare::ForEachUnmatchedWordOfPass(
        own, other, [&](std::size_t start, std::u16string_view word) {
            *out++ = u'\r';
            *out++ = u'\n';
            // A short word is moved as kShortWord units, which compiles to a few vector moves
            // instead of a call; the units after it are written over by what comes next.
            if (std::ssize(word) <= kShortWord && textEnd - word.data() >= kShortWord)
                std::memcpy(out, word.data(), kShortWord * sizeof(char16_t));
            else
                std::copy(word.begin(), word.end(), out);
            out += word.size();
            pass.last =
                TextRange{static_cast<qsizetype>(start), static_cast<qsizetype>(word.size())};
            painter.Add(*pass.last);
        });
    pass.list.truncate(out - reinterpret_cast<const char16_t*>(pass.list.constData()));
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
    // Each text is cut into lines and words once, for both passes; the two texts side by side,
    // then the two passes.
    std::optional<compare::WordIndex> first, second;
    auto secondIndex = std::async(std::launch::async, [&] { second.emplace(AsU16(two)); });
    proc.Step(120, [&] { first.emplace(AsU16(one)); });
    proc.Step(122, [&] { secondIndex.get(); });
    if (!first || !second)
        return;
    // The second pass reads the second pane's colours while the first pass shows its own.
    auto secondPass = std::async(std::launch::async, WorkOutPass, std::cref(*second),
                                 std::cref(*first), std::cref(panes.RichTextBox2.Colours()));
    proc.Step(138, [&] {
        ShowPass(panes.RichTextBox1, panes.RichTextBox3,
                 WorkOutPass(*first, *second, panes.RichTextBox1.Colours()));
    });
    proc.Step(154, [&] { ShowPass(panes.RichTextBox2, panes.RichTextBox4, secondPass.get()); });
}
