#include "compare/FindDifferences.h"

#include "app/ErrorReport.h"
#include "compare/LineComparison.h"
#include "platform/Utf16View.h"

#include <string>

using namespace Qt::StringLiterals;

namespace RTB {

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kPiecesPerSlice = 512; // between two looks at the clock

// Tells whether either full pane has been given a new text since the watch began.
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

// Lets the window through about every pump interval, and says when a full pane got a new text.
class PumpSchedule {
public:
    explicit PumpSchedule(LineComparisonRun& run)
        : run_(run), watch_(run.PaneSet()), next_(Clock::now() + run.PumpInterval()) {}

    bool Due() const { return Clock::now() >= next_; }
    // Returns false when the run must stop.
    bool Pump() {
        run_.Pump().DoEvents();
        next_ = Clock::now() + run_.PumpInterval();
        return !watch_.Replaced();
    }

private:
    LineComparisonRun& run_;
    TextWatch watch_;
    Clock::time_point next_;
};

struct Direction {
    int file; // 1 or 2
    Pane& own;
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

Outcome FindDifferences(const Direction& direction, LineComparisonRun& run, MsgBox& box) {
    GuardedProcedure proc(box, direction.location);
    bool prepared = false;
    bool interrupted = false;
    // Both texts are read, cut at CR and indexed here, for both directions at once.
    proc.Step(100, [&] {
        interrupted = !run.Prepare();
        prepared = !interrupted;
    });
    if (interrupted)
        return Outcome::Interrupted;
    proc.Step(104, [&] { direction.result.SetText({}); });
    if (!prepared)
        return Outcome::Finished;

    const std::u16string_view own = AsU16(run.Text(direction.file));
    PendingDifferences pending(own);
    PumpSchedule schedule(run);
    const auto add = [&](compare::Piece piece) { pending.Add(piece); };
    // The first direction looks its lines up a slice at a time; the second's were looked up in
    // the background meanwhile.
    std::vector<compare::Piece> found;
    if (direction.file == 2) {
        interrupted = false;
        proc.Step(114, [&] {
            auto missing = run.MissingOfSecond();
            interrupted = !missing;
            found = std::move(missing).value_or(std::vector<compare::Piece>{});
        });
        if (interrupted)
            return Outcome::Interrupted;
    }
    const std::size_t total = direction.file == 1 ? run.Index(1).PieceCount() : found.size();
    for (std::size_t first = 0; first < total; first += kPiecesPerSlice) {
        const std::size_t last = std::min(total, first + kPiecesPerSlice);
        proc.Step(114, [&] {
            if (direction.file == 1)
                run.Index(1).ForEachMissingIn(run.Index(2), first, last, add);
            else
                std::for_each(found.begin() + first, found.begin() + last, add);
        });
        if (!schedule.Due())
            continue;
        pending.Flush(direction, proc);
        bool goOn = true;
        proc.Step(112, [&] { goOn = schedule.Pump(); });
        if (!goOn)
            return Outcome::Interrupted;
    }
    pending.Flush(direction, proc);
    return Outcome::Finished;
}

} // namespace

LineComparisonRun::LineComparisonRun(Panes& panes, EventPump& pump,
                                     std::chrono::milliseconds pumpInterval)
    : panes_(panes), pump_(pump), pumpInterval_(pumpInterval) {}

LineComparisonRun::~LineComparisonRun() {
    if (missingOfSecond_.valid())
        missingOfSecond_.wait();
}

bool LineComparisonRun::Current() const {
    return files_[0].index && files_[1].index &&
           files_[0].generation == panes_.RichTextBox1.TextGeneration() &&
           files_[1].generation == panes_.RichTextBox2.TextGeneration();
}

template <typename Result> bool LineComparisonRun::WaitPumping(std::future<Result>& work) {
    const TextWatch watch(panes_);
    while (work.wait_for(pumpInterval_) != std::future_status::ready) {
        pump_.DoEvents();
        if (watch.Replaced())
            return false;
    }
    return true;
}

bool LineComparisonRun::Prepare() {
    if (Current())
        return true;
    if (missingOfSecond_.valid())
        missingOfSecond_.wait();
    const Pane* panes[] = {&panes_.RichTextBox1, &panes_.RichTextBox2};
    for (int i = 0; i < 2; ++i) {
        files_[i].index.reset();
        files_[i].text = panes[i]->Text();
        files_[i].generation = panes[i]->TextGeneration();
    }
    const auto indexOf = [](const QString& text) {
        return std::make_unique<compare::LineIndex>(AsU16(text));
    };
    auto second = std::async(std::launch::async, indexOf, files_[1].text);
    files_[0].index = indexOf(files_[0].text);
    if (!WaitPumping(second))
        return false;
    files_[1].index = second.get();
    missingOfSecond_ = std::async(std::launch::async, [this] {
        std::vector<compare::Piece> missing;
        Index(2).ForEachMissingIn(Index(1), 0, Index(2).PieceCount(),
                                  [&](compare::Piece piece) { missing.push_back(piece); });
        return missing;
    });
    return true;
}

std::optional<std::vector<compare::Piece>> LineComparisonRun::MissingOfSecond() {
    if (!WaitPumping(missingOfSecond_))
        return std::nullopt;
    std::vector<compare::Piece> missing = missingOfSecond_.get();
    // Both lookups are done: the tables are not needed any more, and are large.
    for (File& file : files_)
        file.index.reset();
    return missing;
}

Outcome FindDifferencesIn1(LineComparisonRun& run, MsgBox& box) {
    return FindDifferences({1, run.PaneSet().RichTextBox1, run.PaneSet().RichTextBox3,
                            u"in Tarnwick2021/08/31.RTB.FindDifferencesIn1 "_s},
                           run, box);
}

Outcome FindDifferencesIn2(LineComparisonRun& run, MsgBox& box) {
    return FindDifferences({2, run.PaneSet().RichTextBox2, run.PaneSet().RichTextBox4,
                            u"in Tarnwick2021/08/31.RTB.FindDifferencesIn2 "_s},
                           run, box);
}

void HighlightDifferences(Pane& pane, std::span<const TextRange> ranges) {
    if (ranges.empty())
        return;
    pane.ColourRanges(ranges, kRed);
    pane.SetSelStart(ranges.back().start);
    pane.SetSelLength(ranges.back().length);
}

} // namespace RTB
