#pragma once

#include <optional>

// The process's resident memory as the kernel counts it, in KiB; nothing where the kernel does not
// say (no /proc).
namespace ResidentMemory {

// Resident now (VmRSS).
std::optional<long long> CurrentKib();

// The most that was resident since the process started or since the last ResetPeak (VmHWM).
std::optional<long long> PeakKib();

// Starts the peak again from what is resident now. False where the kernel does not allow it; the
// peak then covers the whole life of the process.
bool ResetPeak();

} // namespace ResidentMemory
