#pragma once

#include "platform/ProcessControl.h"

// Records that the program asked to end, and returns (the real one never does).
class RecordingProcessControl final : public ProcessControl {
public:
    void EndProcess() override { ++endCalls; }
    bool Ended() const { return endCalls > 0; }

    int endCalls = 0;
};
