#include "compare/FindDifferences.h"

#include "app/ErrorReport.h"
#include "app/MemoryBound.h"
#include "compare/DifferenceNotes.h"
#include "platform/ResultList.h"
#include "platform/WorkProgress.h"

using namespace Qt::StringLiterals;

namespace RTB {

namespace {

struct Direction {
    int file; // 1 or 2
    Pane& own;
    Pane& result;
    const Pane& other;
    QString location;
    QString otherName;
};

// What the full pane tells of its red lines: how many, and which look like a line of the other.
void ShowLookalikes(const Direction& direction, const LineComparisonRun::Found& found) {
    if (!found.list)
        return;
    const std::optional<qsizetype> count =
        found.lookalikesSought
            ? std::optional<qsizetype>(found.lookalikes ? found.lookalikes->size() : 0)
            : std::nullopt;
    direction.own.SetSummary(LinesNote(found.list->EntryCount(), direction.otherName, count));
    if (count.value_or(0) > 0)
        direction.own.SetTips(
            LineLookalikeTips(direction.other, found.list, found.lookalikes, direction.otherName));
}

Outcome FindDifferences(const Direction& direction, LineComparisonRun& run, MsgBox& box) {
    GuardedProcedure proc(box, direction.location);
    bool current = true;
    // Both texts are read, cut at CR and looked up in each other here, for both directions.
    proc.Step(100, [&] { current = run.Prepare(); });
    if (!current)
        return Outcome::Interrupted;
    proc.Step(104, [&] { direction.result.SetText({}); });
    const LineComparisonRun::Found& found = run.FoundIn(direction.file);
    proc.Step(122, [&] { HighlightDifferences(direction.own, found.list); });
    proc.Step(124, [&] { direction.result.AppendList(found.list); });
    ShowLookalikes(direction, found);
    return run.Cancelled() ? Outcome::Cancelled : Outcome::Finished;
}

} // namespace

LineComparisonRun::LineComparisonRun(Panes& panes, EventPump& pump, const std::atomic<bool>& cancel)
    : panes_(panes), pump_(pump), cancel_(cancel) {}

LineComparisonRun::~LineComparisonRun() = default;

bool LineComparisonRun::Prepare() {
    const auto changed = [&] {
        return panes_.RichTextBox1.TextGeneration() != generations_[0] ||
               panes_.RichTextBox2.TextGeneration() != generations_[1];
    };
    if (prepared_)
        return !(interrupted_ = interrupted_ || changed());
    prepared_ = true;
    generations_[0] = panes_.RichTextBox1.TextGeneration();
    generations_[1] = panes_.RichTextBox2.TextGeneration();
    // Copies that share the panes' storage: they outlive a text the user replaces meanwhile.
    const QString one = panes_.RichTextBox1.Text();
    const QString two = panes_.RichTextBox2.Text();
    const qint64 room = MemoryBound::Room(panes_.RichTextBox1, panes_.RichTextBox2,
                                          {&panes_.RichTextBox3, &panes_.RichTextBox4});
    WorkProgress progress(
        {&panes_.RichTextBox1, &panes_.RichTextBox2, &panes_.RichTextBox3, &panes_.RichTextBox4});
    pump_.RunAside([&] { found_ = WorkOutLineComparison(one, two, room, work_); },
                   [&] {
                       if (cancel_ || changed())
                           stop_ = true;
                       progress.Show(work_.piecesDone, work_.pieceTotal);
                   },
                   true);
    interrupted_ = changed();
    if (cancel_)
        stop_ = true;
    return !interrupted_;
}

Outcome FindDifferencesIn1(LineComparisonRun& run, MsgBox& box) {
    return FindDifferences({1, run.PaneSet().RichTextBox1, run.PaneSet().RichTextBox3,
                            run.PaneSet().RichTextBox2,
                            u"in Tarnwick2021/08/31.RTB.FindDifferencesIn1 "_s, u"Text File #2"_s},
                           run, box);
}

Outcome FindDifferencesIn2(LineComparisonRun& run, MsgBox& box) {
    return FindDifferences({2, run.PaneSet().RichTextBox2, run.PaneSet().RichTextBox4,
                            run.PaneSet().RichTextBox1,
                            u"in Tarnwick2021/08/31.RTB.FindDifferencesIn2 "_s, u"Text File #1"_s},
                           run, box);
}

void HighlightDifferences(Pane& pane, std::shared_ptr<const ResultList> list) {
    if (!list || list->EntryCount() == 0)
        return;
    const TextRange last = list->Mark(list->EntryCount() - 1);
    pane.MarkRed(std::move(list));
    pane.SetSelStart(last.start);
    pane.SetSelLength(last.length);
}

} // namespace RTB
