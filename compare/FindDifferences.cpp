#include "compare/FindDifferences.h"

#include "app/ErrorReport.h"
#include "app/MemoryBound.h"
#include "compare/DifferenceNotes.h"
#include "compare/RepeatTips.h"
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
    if (found.stopped) {
        const std::optional<qsizetype> after =
            found.linesDone ? std::optional<qsizetype>(static_cast<qsizetype>(*found.linesDone))
                            : std::nullopt;
        direction.own.SetSummary(
            StoppedLinesNote(found.list->EntryCount(), after, direction.otherName));
    } else {
        direction.own.SetSummary(LinesNote(found.list->EntryCount(), direction.otherName, count));
    }
    Pane::TipSource lookalikes;
    if (count.value_or(0) > 0)
        lookalikes =
            LineLookalikeTips(direction.other, found.list, found.lookalikes, direction.otherName);
    direction.own.SetTips(
        WithRepeatTips(std::move(lookalikes), direction.own, found.repeats, direction.otherName));
}

// The direction is taken by value: the procedure outlives the call that starts it.
Task<Outcome> FindDifferences(Direction direction, LineComparisonRun& run, MsgBox& box) {
    GuardedProcedure proc(box, direction.location);
    bool current = true;
    // Both texts are read, cut at CR and looked up in each other here, for both directions.
    co_await proc.Step(100, [&]() -> Task<> { current = co_await run.Prepare(); });
    if (!current)
        co_return Outcome::Interrupted;
    const LineComparisonRun::Found& found = run.FoundIn(direction.file);
    // What was found goes to the panes only while they hold what was compared: an error report
    // on the way lets the window run other commands before the next statement.
    const auto show = [&](int step, auto statement) -> Task<bool> {
        if (!run.Current())
            co_return false;
        co_await proc.Step(step, statement);
        co_return true;
    };
    if (!co_await show(104, [&] { direction.result.SetText({}); }))
        co_return Outcome::Interrupted;
    if (!co_await show(122, [&] { HighlightDifferences(direction.own, found.list); }))
        co_return Outcome::Interrupted;
    // The list is saved with the line breaks of the file it was cut from.
    if (!co_await show(124,
                       [&] {
                           direction.result.AppendList(found.list);
                           direction.result.SetFileForm(direction.own.FileForm());
                       }) ||
        !run.Current())
        co_return Outcome::Interrupted;
    ShowLookalikes(direction, found);
    co_return run.Cancelled() ? Outcome::Cancelled : Outcome::Finished;
}

} // namespace

LineComparisonRun::LineComparisonRun(Panes& panes, EventPump& pump, const std::atomic<bool>& cancel)
    : panes_(panes), pump_(pump), cancel_(cancel) {}

LineComparisonRun::~LineComparisonRun() = default;

bool LineComparisonRun::Current() const {
    return panes_.RichTextBox1.TextGeneration() == generations_[0] &&
           panes_.RichTextBox2.TextGeneration() == generations_[1];
}

Task<bool> LineComparisonRun::Prepare() {
    if (prepared_)
        co_return !(interrupted_ = interrupted_ || !Current());
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
    co_await pump_.RunAside([&] { found_ = WorkOutLineComparison(one, two, room, work_); },
                            [&] {
                                if (cancel_ || !Current())
                                    stop_ = true;
                                progress.Show(work_.piecesDone, work_.pieceTotal);
                            });
    interrupted_ = !Current();
    if (cancel_)
        stop_ = true;
    co_return !interrupted_;
}

Task<Outcome> FindDifferencesIn1(LineComparisonRun& run, MsgBox& box) {
    return FindDifferences({1, run.PaneSet().RichTextBox1, run.PaneSet().RichTextBox3,
                            run.PaneSet().RichTextBox2,
                            u"in Tarnwick2021/08/31.RTB.FindDifferencesIn1 "_s, u"Text File #2"_s},
                           run, box);
}

Task<Outcome> FindDifferencesIn2(LineComparisonRun& run, MsgBox& box) {
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
