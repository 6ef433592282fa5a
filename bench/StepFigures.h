#pragma once

#include <QString>

#include <optional>

// What one step measured.
struct StepFigures {
    QString name;
    double seconds = 0;
    double longestStallSeconds = 0;
    double windowCpuSeconds = 0; // the processor time of the window's thread: what the step cost
                                 // it, however busy the machine
    std::optional<long long> peakKib;        // during the step (since the start if not resettable)
    std::optional<long long> runningPeakKib; // since the start
    std::optional<long long> residentAfterKib;
    int doneBoxes = 0;
    int errorReports = 0;
    int otherBoxes = 0;
    int paints = 0; // paint events of the panes
    bool timedOut = false;
};

// What a run was given.
struct RunInfo {
    QString file1;
    QString file2;
    qint64 bytes = 0; // of both files
    bool peakResettable = false;
    int timeoutSeconds = 0; // 0: none
};
