#include "cli/StandardInput.h"

#include "platform/Failure.h"

#include <QString>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

[[noreturn]] void ThrowFor(int error) {
    if (error == EISDIR)
        throw Failure(QStringLiteral("Standard input is a folder, not a file"));
    if (error == EBADF)
        throw Failure(QStringLiteral("Standard input is closed"));
    throw Failure(QString::fromStdString(std::generic_category().message(error)));
}

class StandardInput final : public InputFile {
public:
    // A copy of descriptor 0, so that closing this file leaves the process's own alone.
    StandardInput() : fd_(fcntl(0, F_DUPFD_CLOEXEC, 3)) {
        if (fd_ < 0)
            ThrowFor(errno);
        struct stat info {};
        if (fstat(fd_, &info) != 0)
            ThrowFor(errno);
        if (S_ISDIR(info.st_mode))
            ThrowFor(EISDIR);
        if (S_ISREG(info.st_mode)) {
            start_ = lseek(fd_, 0, SEEK_CUR);
            if (start_ >= 0)
                size_ = std::max<qint64>(0, static_cast<qint64>(info.st_size) - start_);
        }
    }
    ~StandardInput() override { ::close(fd_); }
    StandardInput(const StandardInput&) = delete;
    StandardInput& operator=(const StandardInput&) = delete;

    std::size_t Read(char* data, std::size_t size) override {
        for (;;) {
            const ssize_t read = ::read(fd_, data, size);
            if (read >= 0)
                return static_cast<std::size_t>(read);
            if (errno != EINTR)
                ThrowFor(errno);
        }
    }
    qint64 SizeHint() const override { return size_; }
    void Rewind() override {
        if (size_ < 0 || lseek(fd_, start_, SEEK_SET) != start_)
            throw Failure(QStringLiteral("Standard input can be read only once"));
    }

private:
    int fd_;
    off_t start_ = -1;
    qint64 size_ = -1; // a stream's
};

} // namespace

std::unique_ptr<InputFile> OpenStandardInput() {
    return std::make_unique<StandardInput>();
}
