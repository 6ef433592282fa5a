#include "compare/FindDifferences.h"

#include "app/ErrorReport.h"
#include "compare/LineComparison.h"
#include "platform/Utf16View.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;

namespace RTB {

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kPiecesPerSlice = 512; // between two looks at the clock

struct Direction {
    Pane& own;
    Pane& other;
    Pane& result;
    QString location;
};

// Differences found since the window last saw the lists; handed over before each pump.
class PendingDifferences {
public:
    explicit PendingDifferences(std::u16string_view own) : own_(own) {}

    void Add(compare::Piece piece) {
        const compare::Piece marked = compare::MarkedSpan(own_, piece);
        marks_.push_back(
            {static_cast<qsizetype>(marked.start), static_cast<qsizetype>(marked.length)});
        compare::AppendListEntry(list_, own_, piece);
    }

    void Flush(const Direction& direction, GuardedProcedure& proc) {
        if (!marks_.empty())
            proc.Step(122, [&] { HighlightDifferences(direction.own, marks_); });
        if (!list_.empty())
            proc.Step(124, [&] { direction.result.AppendText(AsQt(list_)); });
        marks_.clear();
        list_.clear();
    }

private:
    std::u16string_view own_;
    std::vector<TextRange> marks_;
    std::u16string list_;
};

// Tells whether either full pane has been given a new text since the run took its copies.
class TextWatch {
public:
    explicit TextWatch(const Panes& panes)
        : panes_(panes), first_(panes.RichTextBox1.TextGeneration()),
          second_(panes.RichTextBox2.TextGeneration()) {}

    bool Replaced() const {
        return panes_.RichTextBox1.TextGeneration() != first_ ||
               panes_.RichTextBox2.TextGeneration() != second_;
    }

private:
    const Panes& panes_;
    std::uint64_t first_;
    std::uint64_t second_;
};

Outcome FindDifferences(const Direction& direction, Panes& panes, EventPump& pump, MsgBox& box,
                        std::chrono::milliseconds pumpInterval) {
    GuardedProcedure proc(box, direction.location);
    QString own;
    QString other; // copies share the panes' storage and outlive a replacement
    std::optional<compare::LineSet> otherLines;
    proc.Step(100, [&] { own = direction.own.Text(); });
    proc.Step(102, [&] {
        other = direction.other.Text();
        otherLines.emplace(AsU16(other));
    });
    proc.Step(104, [&] { direction.result.SetText({}); });
    if (!otherLines)
        return Outcome::Finished;

    const TextWatch watch(panes);
    compare::MissingLineScan scan(AsU16(own), *otherLines);
    PendingDifferences pending(AsU16(own));
    auto nextPump = Clock::now() + pumpInterval;
    for (bool more = true; more;) {
        more = false;
        proc.Step(114, [&] {
            more = scan.Scan(kPiecesPerSlice, [&](compare::Piece piece) { pending.Add(piece); });
        });
        if (Clock::now() < nextPump)
            continue;
        pending.Flush(direction, proc);
        proc.Step(112, [&] { pump.DoEvents(); });
        if (watch.Replaced())
            return Outcome::Interrupted;
        nextPump = Clock::now() + pumpInterval;
    }
    pending.Flush(direction, proc);
    return Outcome::Finished;
}

} // namespace

Outcome FindDifferencesIn1(Panes& panes, EventPump& pump, MsgBox& box,
                           std::chrono::milliseconds pumpInterval) {
    return FindDifferences({panes.RichTextBox1, panes.RichTextBox2, panes.RichTextBox3,
                            u"in Tarnwick2021/08/31.RTB.FindDifferencesIn1 "_s},
                           panes, pump, box, pumpInterval);
}

Outcome FindDifferencesIn2(Panes& panes, EventPump& pump, MsgBox& box,
                           std::chrono::milliseconds pumpInterval) {
    return FindDifferences({panes.RichTextBox2, panes.RichTextBox1, panes.RichTextBox4,
                            u"in Tarnwick2021/08/31.RTB.FindDifferencesIn2 "_s},
                           panes, pump, box, pumpInterval);
}

void HighlightDifferences(Pane& pane, std::span<const TextRange> ranges) {
    if (ranges.empty())
        return;
    pane.ColourRanges(ranges, kRed);
    pane.SetSelStart(ranges.back().start);
    pane.SetSelLength(ranges.back().length);
}

} // namespace RTB
