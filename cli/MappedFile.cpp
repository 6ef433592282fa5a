#include "cli/MappedFile.h"

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kChanged[] = "tarnwick-cli: a file changed while it was being read\n";

void OnBusError(int) {
    // Only what is safe in a signal handler: the message, and the end.
    const ssize_t written = write(STDERR_FILENO, kChanged, sizeof kChanged - 1);
    static_cast<void>(written);
    _exit(2);
}

void ReportShrinkingFiles() {
    static std::once_flag installed;
    std::call_once(installed, [] {
        struct sigaction action {};
        action.sa_handler = OnBusError;
        sigemptyset(&action.sa_mask);
        sigaction(SIGBUS, &action, nullptr);
    });
}

} // namespace

std::unique_ptr<MappedFile> MappedFile::Open(const QByteArray& path, bool populate) {
    const int fd = open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return nullptr;
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0) {
        close(fd);
        return nullptr;
    }
    // A file of the system's (under /proc, say) says it is empty and still has text: an empty
    // file is read the general way, where that costs nothing.
    const auto size = static_cast<std::size_t>(status.st_size);
    if (size == 0) {
        close(fd);
        return nullptr;
    }
    ReportShrinkingFiles();
    void* data = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | (populate ? MAP_POPULATE : 0), fd, 0);
    close(fd);
    if (data == MAP_FAILED)
        return nullptr;
    madvise(data, size, populate ? MADV_WILLNEED : MADV_SEQUENTIAL);
    return std::unique_ptr<MappedFile>(new MappedFile(static_cast<const char*>(data), size));
}

MappedFile::~MappedFile() {
    munmap(const_cast<char*>(data_), size_);
}

void MappedFile::Forget(std::size_t offset) const {
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t end = std::min(offset, size_) / page * page;
    if (end > 0)
        madvise(const_cast<char*>(data_), end, MADV_DONTNEED);
}
