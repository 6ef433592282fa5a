// The window as a user feels it: the real Form1 with its real widgets, shown on Qt's offscreen
// platform, driven through the same procedures as its buttons on two files. For each step it
// prints the wall time, the longest stall of the event loop and the peak resident memory.
//
//   window_bench FILE1 FILE2 [--json] [--scroll-back] [--edit] [--no-line-numbers]
//                [--rules] [--mask RE]... [--timeout SECONDS]
//
// Wherever a person would answer (the file dialog, the message boxes) a stand-in answers at once;
// settings stay in memory and nothing is opened on the desktop. See bench/README.md.

#include "AnsweringMsgBox.h"
#include "ResidentMemory.h"
#include "RunReport.h"
#include "StallMeter.h"
#include "StepFigures.h"
#include "Watchdog.h"
#include "WindowDriving.h"

#include "MemorySettingsStore.h"
#include "RecordingProcessControl.h"
#include "RecordingShell.h"
#include "ScriptedFileDialog.h"
#include "ScriptedRandomGenerator.h"
#include "ScriptedRulesDialog.h"

#include "app/Form1.h"
#include "app/MemoryBound.h"
#include "app/MousePointer.h"
#include "platform/PaneWidget.h"
#include "platform/QtEventPump.h"
#include "platform/QtFileSystem.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

using Clock = StallMeter::Clock;

constexpr int kTimedOutStatus = 3;
constexpr int kPagesDown = 500;
// Edits spread through the text after Words.
constexpr int kSpreadEdits = 100;

struct Options {
    QString file1;
    QString file2;
    bool json = false;
    bool scrollBack = false;
    bool edit = false;
    bool lineNumbers = true;
    bool rules = false;     // the comparisons under -w -i: all blanks and case
    QStringList masks;      // each match of one of these is a placeholder in both comparisons
    int timeoutSeconds = 0; // 0: no limit
};

std::optional<Options> ParseOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Times the Tarnwick window on two files, step by step."_s);
    parser.addHelpOption();
    const QCommandLineOption json(u"json"_s, u"Print one JSON object instead of a table."_s);
    const QCommandLineOption scrollBack(u"scroll-back"_s,
                                        u"Scroll back to the top after scrolling to the end."_s);
    const QCommandLineOption edit(
        u"edit"_s,
        u"At the end, type Enter in file #1's full text, twice at the top and in 101 places "
        "through it, and undo it all."_s);
    const QCommandLineOption noLineNumbers(u"no-line-numbers"_s,
                                           u"Start with the panes' line numbers switched off."_s);
    const QCommandLineOption timeout(
        u"timeout"_s, u"Give up after this many seconds, reporting the step that overran."_s,
        u"seconds"_s, u"0"_s);
    const QCommandLineOption rules(
        u"rules"_s, u"Compare under the rules of -w -i: blanks of every kind and case."_s);
    const QCommandLineOption mask(
        u"mask"_s, u"Compare with every match of this expression masked (may be repeated)."_s,
        u"expression"_s);
    parser.addOptions({json, scrollBack, edit, noLineNumbers, rules, mask, timeout});
    parser.addPositionalArgument(u"file1"_s, u"Text file #1"_s);
    parser.addPositionalArgument(u"file2"_s, u"Text file #2"_s);
    parser.process(arguments);

    const QStringList files = parser.positionalArguments();
    bool timeoutIsNumber = false;
    Options options;
    options.timeoutSeconds = parser.value(timeout).toInt(&timeoutIsNumber);
    if (files.size() != 2 || !timeoutIsNumber || options.timeoutSeconds < 0)
        return std::nullopt;
    options.file1 = QFileInfo(files[0]).absoluteFilePath();
    options.file2 = QFileInfo(files[1]).absoluteFilePath();
    options.json = parser.isSet(json);
    options.scrollBack = parser.isSet(scrollBack);
    options.edit = parser.isSet(edit);
    options.lineNumbers = !parser.isSet(noLineNumbers);
    options.rules = parser.isSet(rules);
    options.masks = parser.values(mask);
    return options;
}

// The steps measured so far and the one running; shared with the watchdog, which reports them
// when the run overruns its time.
class RunLog {
public:
    void Begin(const QString& step) {
        const std::lock_guard lock(mutex_);
        running_ = step;
        runningSince_ = Clock::now();
    }

    void Finish(StepFigures figures) {
        const std::lock_guard lock(mutex_);
        steps_.push_back(std::move(figures));
        running_.reset();
    }

    // The finished steps, and the running one as timed out with its memory so far.
    std::vector<StepFigures> Overrun() const {
        const std::lock_guard lock(mutex_);
        std::vector<StepFigures> steps = steps_;
        if (running_) {
            StepFigures figures;
            figures.name = *running_;
            figures.seconds = std::chrono::duration<double>(Clock::now() - runningSince_).count();
            figures.peakKib = ResidentMemory::PeakKib();
            figures.runningPeakKib = figures.peakKib;
            if (!steps.empty() && steps.back().runningPeakKib && figures.peakKib)
                figures.runningPeakKib = std::max(*steps.back().runningPeakKib, *figures.peakKib);
            figures.residentAfterKib = ResidentMemory::CurrentKib();
            figures.timedOut = true;
            steps.push_back(figures);
        }
        return steps;
    }

    std::vector<StepFigures> Steps() const {
        const std::lock_guard lock(mutex_);
        return steps_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<StepFigures> steps_;
    std::optional<QString> running_;
    Clock::time_point runningSince_;
};

// Counts the paint events of the widgets it watches: proof that the panes were really drawn.
class PaintCounter final : public QObject {
public:
    void Watch(QWidget* widget) { widget->installEventFilter(this); }
    int Paints() const { return paints_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints_;
        return QObject::eventFilter(watched, event);
    }

private:
    int paints_ = 0;
};

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Measures one step: the peak memory starts again from what is resident, the stall meter runs,
// and the figures go to the log.
class StepRunner {
public:
    StepRunner(RunLog& log, AnsweringMsgBox& box, PaintCounter& paints, bool peakResettable,
               std::optional<long long> peakSoFarKib)
        : log_(log), box_(box), paints_(paints), peakResettable_(peakResettable),
          runningPeakKib_(peakSoFarKib) {}

    void Run(const QString& name, const std::function<void()>& step) {
        log_.Begin(name);
        if (peakResettable_)
            ResidentMemory::ResetPeak();
        const AnsweringMsgBox::Counts boxesBefore = box_.counts;
        const int paintsBefore = paints_.Paints();

        const double cpuStart = ThreadCpuSeconds();
        const Clock::time_point start = Clock::now();
        stallMeter_.Start(start);
        step();
        const Clock::time_point end = Clock::now();
        const Clock::duration longestStall = stallMeter_.Stop(end);
        const double cpuEnd = ThreadCpuSeconds();

        StepFigures figures;
        figures.name = name;
        figures.seconds = std::chrono::duration<double>(end - start).count();
        figures.longestStallSeconds = std::chrono::duration<double>(longestStall).count();
        figures.windowCpuSeconds = cpuEnd - cpuStart;
        figures.peakKib = ResidentMemory::PeakKib();
        if (figures.peakKib)
            runningPeakKib_ = std::max(runningPeakKib_.value_or(0), *figures.peakKib);
        figures.runningPeakKib = runningPeakKib_;
        figures.residentAfterKib = ResidentMemory::CurrentKib();
        figures.doneBoxes = box_.counts.done - boxesBefore.done;
        figures.errorReports = box_.counts.errorReports - boxesBefore.errorReports;
        figures.otherBoxes = box_.counts.others - boxesBefore.others;
        figures.paints = paints_.Paints() - paintsBefore;
        std::fprintf(stderr, "window_bench: %-11s %8.3f s\n", qPrintable(name), figures.seconds);
        log_.Finish(figures);
    }

private:
    RunLog& log_;
    AnsweringMsgBox& box_;
    PaintCounter& paints_;
    bool peakResettable_;
    StallMeter stallMeter_;
    std::optional<long long> runningPeakKib_;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    MemoryBound::HandBackFreedMemory(); // as the program does
    QApplication app(argc, argv);
    const std::optional<Options> options = ParseOptions(QCoreApplication::arguments());
    if (!options) {
        std::fprintf(stderr, "usage: window_bench FILE1 FILE2 [--json] [--scroll-back] [--edit] "
                             "[--no-line-numbers] [--rules] [--mask RE]... [--timeout SECONDS]\n");
        return 2;
    }
    const std::optional<long long> peakSoFarKib = ResidentMemory::PeakKib();
    RunInfo info{options->file1, options->file2, 0, ResidentMemory::ResetPeak(),
                 options->timeoutSeconds};
    for (const QString& file : {options->file1, options->file2}) {
        const QFileInfo found(file);
        if (!found.isFile() || !found.isReadable()) {
            std::fprintf(stderr, "window_bench: cannot read %s\n", qPrintable(file));
            return 2;
        }
        info.bytes += found.size();
    }

    // An empty folder stands in for the program's own, so that no optional skin or pointer file
    // changes what is measured.
    QTemporaryDir programFolder;
    RunLog log;
    std::optional<Watchdog> watchdog;
    if (options->timeoutSeconds > 0) {
        watchdog.emplace(std::chrono::seconds(options->timeoutSeconds), [&] {
            PrintReport(info, log.Overrun(), options->json);
            programFolder.remove();
            std::_Exit(kTimedOutStatus);
        });
    }

    AnsweringMsgBox box;
    ScriptedFileDialog dialog;
    MemorySettingsStore settings;
    if (!options->lineNumbers)
        settings.Preset(u"Quillmere"_s, u"Tarnwick"_s, u"LineNumbers"_s, u"False"_s);
    RecordingShell shell;
    QtFileSystem fileSystem(programFolder.path());
    QtEventPump pump;
    RecordingProcessControl process;
    ScriptedRulesDialog rulesDialog;
    ScriptedRandomGenerator random; // never the one start in a hundred that opens a web page
    PaintCounter paints;
    StepRunner steps(log, box, paints, info.peakResettable, peakSoFarKib);

    std::optional<Form1> window;
    steps.Run(u"start"_s, [&] {
        window.emplace(Desktop{box, dialog, settings, shell, fileSystem, pump, process, random,
                               rulesDialog, [] { return 0.0; }});
        for (const Pane* pane : {&window->RichTextBox1, &window->RichTextBox2,
                                 &window->RichTextBox3, &window->RichTextBox4})
            paints.Watch(window->ViewOf(*pane)->viewport());
        QCoro::waitFor(window->Form_Load());
        window->show();
        WaitUntilExposed(*window);
        window->repaint();
    });

    Form1& form = *window;
    if (options->rules || !options->masks.isEmpty()) {
        QStringList kinds;
        if (options->rules)
            kinds = {u"trailing-space"_s, u"leading-space"_s, u"inner-space"_s, u"case"_s};
        form.UseRules({kinds, std::nullopt, options->masks});
    }
    steps.Run(u"load1"_s, [&] {
        dialog.answers.push_back(options->file1);
        QCoro::waitFor(form.PushButton3_Click());
        Settle(form);
    });
    steps.Run(u"load2"_s, [&] {
        dialog.answers.push_back(options->file2);
        QCoro::waitFor(form.PushButton4_Click());
        Settle(form);
    });
    steps.Run(u"lines"_s, [&] {
        QCoro::waitFor(form.PushButton1_Click());
        Settle(form);
    });
    steps.Run(u"show_lists"_s, [&] {
        form.Option2->click();
        form.repaint();
    });
    steps.Run(u"show_full"_s, [&] {
        form.Option1->click();
        form.repaint();
    });
    // Saves go into the stand-in program folder, which goes with the run.
    const auto save = [&](const QString& name, int filter) {
        dialog.answers.push_back(programFolder.filePath(name));
        dialog.filterChosen = filter;
        QCoro::waitFor(form.PushButton2_Click());
        Settle(form);
    };
    steps.Run(u"save_full"_s, [&] { save(u"full.txt"_s, 0); });
    form.Option2->click();
    steps.Run(u"save_list"_s, [&] { save(u"list.txt"_s, 0); });
    steps.Run(u"save_csv"_s, [&] { save(u"list.csv"_s, 2); });
    form.Option1->click();
    steps.Run(u"words"_s, [&] {
        QCoro::waitFor(form.PushButton6_Click());
        Settle(form);
    });
    // The whole pane is repainted: its text, and its line numbers where they are shown.
    PaneWidget* fullPane = form.ViewOf(form.RichTextBox1);
    const auto scrollTo = [fullPane](bool end) {
        QScrollBar* bar = fullPane->verticalScrollBar();
        bar->setValue(end ? bar->maximum() : bar->minimum());
        fullPane->repaint();
    };
    steps.Run(u"scroll_end"_s, [&] { scrollTo(true); });
    if (options->scrollBack)
        steps.Run(u"scroll_top"_s, [&] { scrollTo(false); });
    // Page after page from the top, each drawn: enough pages for a figure that one preemption
    // on a busy machine does not swamp.
    steps.Run(u"page_down"_s, [&] {
        QScrollBar* bar = fullPane->verticalScrollBar();
        bar->setValue(0);
        for (int page = 0; page < kPagesDown; ++page) {
            bar->setValue(bar->value() + bar->pageStep());
            fullPane->repaint();
        }
    });
    // Enter typed at a place of file #1's full text, and the pane repainted; the first edit
    // after Words also moves the text's red marks after it, and parts the mark it meets.
    const auto typeEnterAt = [&](qsizetype position) {
        form.RichTextBox1.Select(position, position);
        fullPane->InsertText(u"\r\n"_s, true);
        fullPane->repaint();
    };
    if (options->edit) {
        steps.Run(u"edit"_s, [&] { typeEnterAt(0); });
        steps.Run(u"edit_again"_s, [&] { typeEnterAt(0); });
        // Edits in many places part the marks into many pieces, each edit drawn.
        steps.Run(u"edit_spread"_s, [&] {
            for (int edit = 1; edit <= kSpreadEdits; ++edit)
                typeEnterAt(form.RichTextBox1.Length() / (kSpreadEdits + 1) * edit);
        });
        // One more edit, with the pane told to pack its marks anew past one part: the packing
        // that thousands of edits in different places bring about.
        steps.Run(u"edit_pack"_s, [&] {
            form.RichTextBox1.SetMarkPartLimit(1);
            typeEnterAt(form.RichTextBox1.Length() / 2);
        });
        form.RichTextBox1.SetMarkPartLimit(Pane::kMarkPartLimit);
        steps.Run(u"undo_all"_s, [&] {
            while (form.RichTextBox1.CanUndo())
                fullPane->Undo();
            fullPane->repaint();
        });
    }

    watchdog.reset();
    PrintReport(info, log.Steps(), options->json);
    // Ends here, as the program does on close, without tearing down millions of lines.
    programFolder.remove();
    std::fflush(stderr);
    std::_Exit(0);
}
