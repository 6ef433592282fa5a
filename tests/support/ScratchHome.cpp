// Every test program, and every program a test starts, runs with a home folder of its own, made
// afresh and removed at the end: whatever a faulty build does, it cannot read or write the user's
// settings or files there.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

namespace {

// Set to the scratch home by the program that made it; a death test's child, started again from
// the same program, finds it and keeps its parent's home.
constexpr const char* kMadeHome = "TARNWICK_TEST_HOME";

class ScratchHome {
public:
    ScratchHome() {
        if (std::getenv(kMadeHome) != nullptr)
            return;
        std::error_code error;
        std::string pattern =
            (std::filesystem::temp_directory_path(error) / "tarnwick-home-XXXXXX").string();
        if (error || mkdtemp(pattern.data()) == nullptr)
            std::abort(); // a test run on the user's own home is worse than none
        home_ = pattern;
        setenv(kMadeHome, home_.c_str(), 1);
        setenv("HOME", home_.c_str(), 1);
        for (const char* variable :
             {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"})
            unsetenv(variable);
    }
    ~ScratchHome() {
        if (home_.empty())
            return;
        std::error_code ignored;
        std::filesystem::remove_all(home_, ignored);
    }
    ScratchHome(const ScratchHome&) = delete;
    ScratchHome& operator=(const ScratchHome&) = delete;

private:
    std::string home_;
};

const ScratchHome scratchHome;

} // namespace
