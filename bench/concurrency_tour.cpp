// What the user may do while a comparison works beside the window, played on the real window and
// the real pump for ThreadSanitizer to watch (bench/tsan_tour.sh builds and runs it so). During
// Lines, and then during Words, each of: Esc, typing into a full pane, a load, Clear, and closing
// the window. Each act comes a while after the comparison began, so that its work is under way on
// other threads while the window's thread acts, and each ends with a check that the window is
// where the user would expect it. Every comparison also runs once to its end. The last close, in
// Words, ends the program as it does for the user.
//
//   concurrency_tour FILE1 FILE2 [--delays MS,...] [--timeout SECONDS]
//
// Every act is played once after each delay (default 300 ms). One line a step goes to stdout.
// Exit status: 0 once the last close has ended the program with every check met, 1 when a check
// failed, 2 on bad arguments, 3 when the tour overran its time. See bench/README.md.

#include "AnsweringMsgBox.h"
#include "Watchdog.h"
#include "WindowDriving.h"

#include "MemorySettingsStore.h"
#include "RecordingShell.h"
#include "ScriptedFileDialog.h"
#include "ScriptedRandomGenerator.h"
#include "ScriptedRulesDialog.h"

#include "app/Form1.h"
#include "app/MemoryBound.h"
#include "app/MousePointer.h"
#include "platform/Colour.h"
#include "platform/PaneWidget.h"
#include "platform/QtEventPump.h"
#include "platform/QtFileSystem.h"
#include "platform/QtProcessControl.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int kCheckFailedStatus = 1;
constexpr int kTimedOutStatus = 3;

struct Options {
    QString file1;
    QString file2;
    std::vector<int> delaysMs;
    int timeoutSeconds = 0;
};

std::optional<Options> ParseOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Plays what the user may do while a comparison works, on two files."_s);
    parser.addHelpOption();
    const QCommandLineOption delays(u"delays"_s,
                                    u"How long after its start each comparison is acted on."_s,
                                    u"ms,..."_s, u"300"_s);
    const QCommandLineOption timeout(u"timeout"_s, u"Give up after this many seconds."_s,
                                     u"seconds"_s, u"3600"_s);
    parser.addOptions({delays, timeout});
    parser.addPositionalArgument(u"file1"_s, u"Text file #1"_s);
    parser.addPositionalArgument(u"file2"_s, u"Text file #2"_s);
    parser.process(arguments);

    Options options;
    bool ok = parser.positionalArguments().size() == 2;
    for (const QString& delay : parser.value(delays).split(u',')) {
        bool isNumber = false;
        options.delaysMs.push_back(delay.toInt(&isNumber));
        ok = ok && isNumber && options.delaysMs.back() >= 0;
    }
    bool timeoutIsNumber = false;
    options.timeoutSeconds = parser.value(timeout).toInt(&timeoutIsNumber);
    if (!ok || !timeoutIsNumber || options.timeoutSeconds <= 0)
        return std::nullopt;
    options.file1 = QFileInfo(parser.positionalArguments()[0]).absoluteFilePath();
    options.file2 = QFileInfo(parser.positionalArguments()[1]).absoluteFilePath();
    return options;
}

// The real pump, counting the jobs whose procedures have not resumed yet, so that each act starts
// from a quiet window: work that nobody waits for (a superseded load, a look-alike count)
// included.
class CountingPump final : public EventPump {
public:
    Task<> Yield() override { return pump_.Yield(); }
    Task<> RunAside(std::function<void()> work, std::function<void()> tick) override {
        const Running running(jobs_);
        co_await pump_.RunAside(std::move(work), std::move(tick));
    }
    int Jobs() const { return jobs_; }

private:
    class Running {
    public:
        explicit Running(int& jobs) : jobs_(jobs) { ++jobs_; }
        ~Running() { --jobs_; }
        Running(const Running&) = delete;
        Running& operator=(const Running&) = delete;

    private:
        int& jobs_;
    };

    QtEventPump pump_;
    int jobs_ = 0;
};

// Counts the closes; once told to, ends the program as the real one does.
class TourProcessControl final : public ProcessControl {
public:
    void EndProcess() override {
        ++endCalls;
        if (forReal)
            QtProcessControl().EndProcess();
    }

    int endCalls = 0;
    bool forReal = false;
};

// Where the tour is, for the watchdog to tell when it overruns.
class Whereabouts {
public:
    void Set(std::string step) {
        const std::lock_guard lock(mutex_);
        step_ = std::move(step);
    }
    std::string Get() const {
        const std::lock_guard lock(mutex_);
        return step_;
    }

private:
    mutable std::mutex mutex_;
    std::string step_ = "start";
};

bool AnyRed(const Pane& pane) {
    return pane.ColourAt(0) == kRed || pane.RedNear(0, true).length > 0;
}

using Click = QPushButton* Form1::*;

struct Comparison {
    const char* name;
    Click button;
};

class Tour {
public:
    Tour(Form1& form, CountingPump& pump, AnsweringMsgBox& box, ScriptedFileDialog& dialog,
         TourProcessControl& process, Whereabouts& whereabouts, const Options& options)
        : form_(form), pump_(pump), box_(box), dialog_(dialog), process_(process),
          whereabouts_(whereabouts), options_(options) {}

    // Every act during both comparisons; the last close ends the program when every check is
    // met, and returns otherwise.
    void Run() {
        LoadBoth();
        text1_ = form_.RichTextBox1.Text();
        text2_ = form_.RichTextBox2.Text();
        Expect(!text1_.isEmpty() && !text2_.isEmpty(), "both files are loaded");
        const Comparison comparisons[] = {{"lines", &Form1::PushButton1},
                                          {"words", &Form1::PushButton6}};
        for (const Comparison& comparison : comparisons) {
            RunToTheEnd(comparison);
            for (const int delay : options_.delaysMs) {
                for (const Act& act : Acts())
                    if (!act.ends)
                        During(comparison, act, delay);
            }
        }
        // The lines' run ends with a close that is only counted, the words' with a real one.
        for (const Act& act : Acts())
            if (act.ends)
                During(comparisons[0], act, options_.delaysMs.front());
        EndDuring(comparisons[1], options_.delaysMs.front());
    }

private:
    struct Act {
        const char* name;
        std::function<void()> act;
        std::function<void()> check;
        bool ends = false; // the close
    };

    std::vector<Act> Acts() {
        return {
            {"Esc", [this] { QTest::keyClick(&form_, Qt::Key_Escape); },
             [this] {
                 Expect(box_.counts.done == doneBefore_, "no Done. after Esc");
                 Expect(form_.RichTextBox1.Text() == text1_ && form_.RichTextBox2.Text() == text2_,
                        "the texts are as they were");
             }},
            {"typing into text #1",
             [this] {
                 PaneWidget* view = form_.ViewOf(form_.RichTextBox1);
                 view->setFocus();
                 form_.RichTextBox1.Select(0, 0);
                 QTest::keyClicks(view, u"x"_s);
             },
             [this] {
                 Expect(box_.counts.done == doneBefore_, "no Done. for a text typed into");
                 Expect(form_.RichTextBox1.Text() == u'x' + text1_, "the typing is in text #1");
                 Expect(!AnyRed(form_.RichTextBox1) && !AnyRed(form_.RichTextBox2),
                        "no marks that were worked out on another text");
             }},
            {"loading text #2",
             [this] {
                 dialog_.answers = {options_.file2};
                 form_.PushButton4->click();
             },
             [this] {
                 Expect(box_.counts.done == doneBefore_, "no Done. for a text replaced");
                 Expect(form_.RichTextBox2.Text() == text2_, "the file is in text #2");
                 Expect(!AnyRed(form_.RichTextBox1) && !AnyRed(form_.RichTextBox2),
                        "no marks that were worked out on another text");
             }},
            {"Clear", [this] { form_.PushButton7->click(); },
             [this] {
                 Expect(box_.counts.done == doneBefore_, "no Done. for texts cleared");
                 for (const Pane* pane : {&form_.RichTextBox1, &form_.RichTextBox2,
                                          &form_.RichTextBox3, &form_.RichTextBox4})
                     Expect(pane->Length() == 0, "every pane is empty");
             }},
            {"closing the window", [this] { form_.close(); },
             [this] {
                 Expect(process_.endCalls == 1, "the close asked to end the program");
                 form_.show();
                 Activate();
             },
             true},
        };
    }

    // The comparison once to its end, and the look-alike count of words after it.
    void RunToTheEnd(const Comparison& comparison) {
        Begin(std::string(comparison.name) + " to its end");
        LoadBoth();
        (form_.*comparison.button)->click();
        WaitUntilQuiet();
        Expect(box_.counts.done == doneBefore_ + 1, "Done.");
        Expect(AnyRed(form_.RichTextBox1) && AnyRed(form_.RichTextBox2), "red in both texts");
        Expect(form_.RichTextBox3.Length() > 0 && form_.RichTextBox4.Length() > 0,
               "both lists filled");
        Expect(!form_.RichTextBox1.Summary().isEmpty(), "text #1 tells what was found");
        Finish();
    }

    void During(const Comparison& comparison, const Act& act, int delayMs) {
        Begin(std::string(comparison.name) + ", " + act.name + " after " + std::to_string(delayMs) +
              " ms");
        LoadBoth();
        StartAndWait(comparison, delayMs);
        act.act();
        WaitUntilQuiet();
        act.check();
        Finish();
    }

    // The real close: the program ends within it, unless a check has failed on the way.
    void EndDuring(const Comparison& comparison, int delayMs) {
        Begin(std::string(comparison.name) + ", closing the window after " +
              std::to_string(delayMs) + " ms, which ends the program");
        LoadBoth();
        StartAndWait(comparison, delayMs);
        std::printf("tour: %d checks, %d failed\n", checks_, failures_);
        if (failures_ > 0)
            return;
        std::printf("tour: %-50s (the program ends)\n", step_.c_str());
        std::fflush(stdout);
        process_.forReal = true;
        form_.close();
        Expect(false, "the program ended on close");
    }

    void StartAndWait(const Comparison& comparison, int delayMs) {
        (form_.*comparison.button)->click();
        Linger(delayMs);
        Expect(form_.Busy() && pump_.Jobs() > 0,
               "the comparison still works aside when the user acts (else: shorter delays)");
    }

    // Both files, through their buttons, into fresh panes.
    void LoadBoth() {
        dialog_.answers = {options_.file1};
        form_.PushButton3->click();
        dialog_.answers = {options_.file2};
        form_.PushButton4->click();
        WaitUntilQuiet();
        form_.repaint();
        Activate();
    }

    // Until the window is idle and no work of it runs aside.
    void WaitUntilQuiet() {
        QCoreApplication::processEvents();
        while (form_.Busy() || form_.MousePointer() == MousePointer::Hourglass || pump_.Jobs() > 0)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        form_.repaint();
    }

    // The Esc shortcut reaches only the active window.
    void Activate() {
        form_.activateWindow();
        if (!QTest::qWaitForWindowActive(&form_))
            std::printf("tour: the window is not active; Esc may not reach it\n");
    }

    void Begin(std::string step) {
        step_ = std::move(step);
        whereabouts_.Set(step_);
        failuresBefore_ = failures_;
        doneBefore_ = box_.counts.done;
        errorsBefore_ = box_.counts.errorReports;
        othersBefore_ = box_.counts.others;
        start_ = std::chrono::steady_clock::now();
    }

    // What holds after every step: the window ready for the next command, nothing reported.
    void Finish() {
        Expect(!form_.Busy(), "the busy flag is down");
        Expect(form_.MousePointer() == MousePointer::Default, "the pointer is the default");
        Expect(box_.counts.errorReports == errorsBefore_, "no Application Error");
        Expect(box_.counts.others == othersBefore_, "no other message");
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
        std::printf("tour: %-50s %s (%.1f s)\n", step_.c_str(),
                    failures_ == failuresBefore_ ? "ok" : "FAILED", seconds);
        std::fflush(stdout);
    }

    void Expect(bool holds, const char* what) {
        ++checks_;
        if (holds)
            return;
        ++failures_;
        std::printf("tour: %s: expected %s\n", step_.c_str(), what);
    }

    Form1& form_;
    CountingPump& pump_;
    AnsweringMsgBox& box_;
    ScriptedFileDialog& dialog_;
    TourProcessControl& process_;
    Whereabouts& whereabouts_;
    const Options& options_;
    QString text1_, text2_; // as loaded
    std::string step_ = "loading both files";
    int checks_ = 0;
    int failures_ = 0;
    int failuresBefore_ = 0;
    int doneBefore_ = 0;
    int errorsBefore_ = 0;
    int othersBefore_ = 0;
    std::chrono::steady_clock::time_point start_;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    MemoryBound::HandBackFreedMemory(); // as the program does
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false); // the counted close hides the window
    const std::optional<Options> options = ParseOptions(QCoreApplication::arguments());
    if (!options) {
        std::fprintf(stderr,
                     "usage: concurrency_tour FILE1 FILE2 [--delays MS,...] [--timeout SECONDS]\n");
        return 2;
    }
    for (const QString& file : {options->file1, options->file2}) {
        if (!QFileInfo(file).isFile()) {
            std::fprintf(stderr, "concurrency_tour: cannot read %s\n", qPrintable(file));
            return 2;
        }
    }

    // An empty folder stands in for the program's own, so that no optional skin or pointer file
    // comes in.
    QTemporaryDir programFolder;
    Whereabouts whereabouts;
    const Watchdog watchdog(std::chrono::seconds(options->timeoutSeconds), [&] {
        std::printf("tour: overran its time in: %s\n", whereabouts.Get().c_str());
        std::fflush(stdout);
        std::_Exit(kTimedOutStatus);
    });

    AnsweringMsgBox box;
    ScriptedFileDialog dialog;
    MemorySettingsStore settings;
    RecordingShell shell;
    QtFileSystem fileSystem(programFolder.path());
    CountingPump pump;
    TourProcessControl process;
    ScriptedRandomGenerator random; // never the one start in a hundred that opens a web page
    ScriptedRulesDialog rulesDialog;
    Form1 form(Desktop{box, dialog, settings, shell, fileSystem, pump, process, random, rulesDialog,
                       [] { return 0.0; }});
    QCoro::waitFor(form.Form_Load());
    form.show();
    WaitUntilExposed(form);

    Tour tour(form, pump, box, dialog, process, whereabouts, *options);
    tour.Run();
    // Only a failed check comes back from the tour: ends here, without tearing down the texts.
    std::fflush(stdout);
    std::_Exit(kCheckFailedStatus);
}
