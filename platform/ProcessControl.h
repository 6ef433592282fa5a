#pragma once

// Ends the running program. The real one never returns.
class ProcessControl {
public:
    virtual ~ProcessControl() = default;
    virtual void EndProcess() = 0;
};
