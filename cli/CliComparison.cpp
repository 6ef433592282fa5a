#include "cli/CliComparison.h"

#include "app/ErrorReport.h"
#include "cli/ResultReport.h"
#include "cli/StderrMsgBox.h"
#include "compare/FindDifferences.h"
#include "compare/FindWordDifferences.h"
#include "files/TextFileReading.h"
#include "platform/Failure.h"

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
    pane.LoadFile(path);
    pane.AppendText(u"\r");
}

void Compare(CliOptions::Mode mode, Panes& panes, MsgBox& box) {
    if (mode == CliOptions::Mode::Lines) {
        NoEventPump pump;
        RTB::FindDifferencesIn1(panes, pump, box);
        RTB::FindDifferencesIn2(panes, pump, box);
        return;
    }
    GuardedProcedure proc(box, u"in Tarnwick2021/08/31.Form1.PushButton6_Click "_s);
    FindWordDifferences(panes, proc);
}

} // namespace

int RunCliComparison(const CliOptions& options, std::FILE* out) {
    Pane pane1, pane2, pane3, pane4;
    Panes panes{pane1, pane2, pane3, pane4};
    for (auto [pane, path] : {std::pair{&pane1, options.file1}, std::pair{&pane2, options.file2}}) {
        try {
            LoadPane(*pane, path, options.exact);
        } catch (const Failure& failure) {
            std::fprintf(stderr, "tarnwick-cli: %s: %s\n", path.toLocal8Bit().constData(),
                         failure.Description().toUtf8().constData());
            return kTrouble;
        }
    }
    StderrMsgBox box;
    Compare(options.mode, panes, box);
    const QByteArray report =
        options.json ? JsonReport(options, panes) : ReadableReport(options, panes);
    std::fwrite(report.constData(), 1, static_cast<std::size_t>(report.size()), out);
    if (std::fflush(out) != 0 || box.Shown() > 0)
        return kTrouble;
    return pane3.Text().isEmpty() && pane4.Text().isEmpty() ? kSame : kDifferent;
}
