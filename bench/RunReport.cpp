#include "RunReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

QJsonValue Bytes(const std::optional<long long>& kib) {
    return kib ? QJsonValue(static_cast<double>(*kib) * 1024) : QJsonValue();
}

struct Totals {
    int doneBoxes = 0;
    int errorReports = 0;
    int otherBoxes = 0;
    bool timedOut = false;
};

Totals Sum(const std::vector<StepFigures>& steps) {
    Totals totals;
    for (const StepFigures& step : steps) {
        totals.doneBoxes += step.doneBoxes;
        totals.errorReports += step.errorReports;
        totals.otherBoxes += step.otherBoxes;
        totals.timedOut = totals.timedOut || step.timedOut;
    }
    return totals;
}

void PrintJson(const RunInfo& info, const std::vector<StepFigures>& steps) {
    QJsonArray stepArray;
    for (const StepFigures& step : steps) {
        stepArray.append(QJsonObject{
            {u"step"_s, step.name},
            {u"seconds"_s, step.seconds},
            {u"longest_stall_seconds"_s, step.timedOut ? QJsonValue() : step.longestStallSeconds},
            {u"window_cpu_seconds"_s, step.timedOut ? QJsonValue() : step.windowCpuSeconds},
            {u"peak_rss_bytes"_s, Bytes(step.peakKib)},
            {u"running_peak_rss_bytes"_s, Bytes(step.runningPeakKib)},
            {u"rss_after_bytes"_s, Bytes(step.residentAfterKib)},
            {u"done_boxes"_s, step.doneBoxes},
            {u"error_reports"_s, step.errorReports},
            {u"other_boxes"_s, step.otherBoxes},
            {u"paints"_s, step.paints},
            {u"timed_out"_s, step.timedOut},
        });
    }
    const Totals totals = Sum(steps);
    const QJsonObject run{
        {u"file1"_s, info.file1},
        {u"file2"_s, info.file2},
        {u"files_bytes"_s, static_cast<double>(info.bytes)},
        {u"peak_reset"_s, info.peakResettable},
        {u"timeout_seconds"_s, info.timeoutSeconds},
        {u"timed_out"_s, totals.timedOut},
        {u"done_boxes"_s, totals.doneBoxes},
        {u"error_reports"_s, totals.errorReports},
        {u"other_boxes"_s, totals.otherBoxes},
        {u"steps"_s, stepArray},
    };
    std::fputs(QJsonDocument(run).toJson(QJsonDocument::Indented).constData(), stdout);
}

QString MiB(const std::optional<long long>& kib) {
    return kib ? QString::number(static_cast<double>(*kib) / 1024, 'f', 1) : u"n/a"_s;
}

void PrintTable(const RunInfo& info, const std::vector<StepFigures>& steps) {
    std::printf("%s and %s: %.1f MiB together\n", qPrintable(info.file1), qPrintable(info.file2),
                static_cast<double>(info.bytes) / 1048576);
    std::printf("%-11s %9s %9s %10s %10s %10s %7s %7s %7s\n", "step", "time s", "stall s",
                info.peakResettable ? "peak MiB" : "peak* MiB", "run. peak", "RSS after", "Done.",
                "errors", "paints");
    for (const StepFigures& step : steps) {
        if (step.timedOut) {
            std::printf("%-11s %9.3f %9s %10s %10s %10s  TIMED OUT\n", qPrintable(step.name),
                        step.seconds, "-", qPrintable(MiB(step.peakKib)),
                        qPrintable(MiB(step.runningPeakKib)),
                        qPrintable(MiB(step.residentAfterKib)));
            continue;
        }
        std::printf("%-11s %9.3f %9.3f %10s %10s %10s %7d %7d %7d\n", qPrintable(step.name),
                    step.seconds, step.longestStallSeconds, qPrintable(MiB(step.peakKib)),
                    qPrintable(MiB(step.runningPeakKib)), qPrintable(MiB(step.residentAfterKib)),
                    step.doneBoxes, step.errorReports, step.paints);
    }
    const Totals totals = Sum(steps);
    std::printf("\"Done.\" boxes: %d, error reports: %d, other boxes: %d\n", totals.doneBoxes,
                totals.errorReports, totals.otherBoxes);
    if (!info.peakResettable)
        std::printf("* the kernel would not reset the peak: each is the peak since the start\n");
}

} // namespace

void PrintReport(const RunInfo& info, const std::vector<StepFigures>& steps, bool json) {
    if (json)
        PrintJson(info, steps);
    else
        PrintTable(info, steps);
    std::fflush(stdout);
}
