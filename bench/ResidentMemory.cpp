#include "ResidentMemory.h"

#include <fstream>
#include <string>

namespace {

// One "Name:   1234 kB" line of /proc/self/status.
std::optional<long long> StatusKib(const std::string& name) {
    std::ifstream status("/proc/self/status");
    const std::string prefix = name + ':';
    for (std::string line; std::getline(status, line);) {
        if (line.compare(0, prefix.size(), prefix) == 0)
            return std::stoll(line.substr(prefix.size()));
    }
    return std::nullopt;
}

} // namespace

namespace ResidentMemory {

std::optional<long long> CurrentKib() {
    return StatusKib("VmRSS");
}

std::optional<long long> PeakKib() {
    return StatusKib("VmHWM");
}

bool ResetPeak() {
    // "5" resets the peak resident set size (Linux 4.0 and later).
    std::ofstream clearRefs("/proc/self/clear_refs");
    clearRefs << "5" << std::flush;
    return clearRefs.good();
}

} // namespace ResidentMemory
