#include "cli/CliComparison.h"

#include "app/ErrorReport.h"
#include "cli/ResultReport.h"
#include "cli/StderrMsgBox.h"
#include "compare/FindDifferences.h"
#include "compare/FindWordDifferences.h"
#include "files/TextFileReading.h"
#include "platform/Failure.h"

#include <future>

using namespace Qt::StringLiterals;

namespace {

constexpr int kSame = 0;
constexpr int kDifferent = 1;
constexpr int kTrouble = 2;

// The file's text followed by the CR the load buttons append, or with --exact its bytes as they
// are.
void LoadPane(Pane& pane, const QString& path, bool exact) {
    if (exact) {
        pane.SetText(ReadExactTextFile(path));
        return;
    }
    pane.SetText(ReadTextFile(path));
    pane.AppendText(u"\r");
}

// Runs a load; a failure is told on stderr, naming the file.
template <typename Load> bool LoadedOrSaid(const QString& path, Load load) {
    try {
        load();
        return true;
    } catch (const Failure& failure) {
        std::fprintf(stderr, "tarnwick-cli: %s: %s\n", path.toLocal8Bit().constData(),
                     failure.Description().toUtf8().constData());
        return false;
    }
}

void Compare(CliOptions::Mode mode, Panes& panes, MsgBox& box) {
    NoEventPump pump;
    const std::atomic<bool> neverCancelled = false;
    if (mode == CliOptions::Mode::Lines) {
        RTB::LineComparisonRun run(panes, pump, neverCancelled);
        if (RTB::FindDifferencesIn1(run, box) == RTB::Outcome::Finished)
            RTB::FindDifferencesIn2(run, box);
        return;
    }
    GuardedProcedure proc(box, u"in Tarnwick2021/08/31.Form1.PushButton6_Click "_s);
    FindWordDifferences(panes, proc, pump, neverCancelled);
}

} // namespace

int RunCliComparison(const CliOptions& options, std::FILE* out) {
    Pane pane1, pane2, pane3, pane4;
    Panes panes{pane1, pane2, pane3, pane4};
    // The two files load side by side: the panes have no view here, so nothing else sees them.
    auto second =
        std::async(std::launch::async, LoadPane, std::ref(pane2), options.file2, options.exact);
    if (!LoadedOrSaid(options.file1, [&] { LoadPane(pane1, options.file1, options.exact); }) ||
        !LoadedOrSaid(options.file2, [&] { second.get(); }))
        return kTrouble;
    StderrMsgBox box;
    Compare(options.mode, panes, box);
    bool written = true;
    if (options.json) {
        const QByteArray report = JsonReport(options, panes);
        written = std::fwrite(report.constData(), 1, static_cast<std::size_t>(report.size()),
                              out) == static_cast<std::size_t>(report.size());
    } else {
        // The readable report reads only the result panes. The full panes hold most of the
        // memory, which is given back while the report is written rather than after it.
        auto released = std::async(std::launch::async, [&] {
            pane1.SetText({});
            pane2.SetText({});
        });
        written = WriteReadableReport(out, options, panes);
    }
    if (!written || std::fflush(out) != 0) {
        std::fprintf(stderr, "tarnwick-cli: the report could not be written\n");
        return kTrouble;
    }
    if (box.Shown() > 0)
        return kTrouble;
    return pane3.Text().isEmpty() && pane4.Text().isEmpty() ? kSame : kDifferent;
}
