#pragma once

#include "platform/ProcessControl.h"

// Ends the process at once with status 0: pending output is flushed, but no destructor, no
// exit handler and no further event runs.
class QtProcessControl final : public ProcessControl {
public:
    [[noreturn]] void EndProcess() override;
};
