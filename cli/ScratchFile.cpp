#include "cli/ScratchFile.h"

#include "platform/Failure.h"

#include <QString>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr std::size_t kBufferBytes = std::size_t{128} << 10;

[[noreturn]] void Fail(const QString& what, int error) {
    throw Failure(what + u": "_s + QString::fromLocal8Bit(std::strerror(error)));
}

} // namespace

QByteArray ScratchFolder() {
    const char* folder = std::getenv("TMPDIR");
    return folder != nullptr && *folder != '\0' ? QByteArray(folder) : QByteArray("/tmp");
}

ScratchFile::ScratchFile(const QByteArray& folder) {
    // A file without a name where the system makes them; elsewhere one named and removed at once.
    fd_ = open(folder.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd_ < 0 && (errno == EOPNOTSUPP || errno == EISDIR)) {
        QByteArray path = folder + "/tarnwick-cli-XXXXXX";
        fd_ = mkostemp(path.data(), O_CLOEXEC);
        if (fd_ >= 0)
            unlink(path.constData());
    }
    if (fd_ < 0)
        Fail(u"a temporary file could not be made in "_s + QString::fromLocal8Bit(folder), errno);
    buffer_.reserve(kBufferBytes);
}

ScratchFile::~ScratchFile() {
    close(fd_);
}

void ScratchFile::Append(const void* bytes, std::size_t size) {
    if (buffer_.size() + size > kBufferBytes)
        Flush();
    if (size >= kBufferBytes) {
        buffer_.assign(static_cast<const char*>(bytes), size);
        Flush();
        buffer_.shrink_to_fit();
        buffer_.reserve(kBufferBytes);
        return;
    }
    buffer_.append(static_cast<const char*>(bytes), size);
}

void ScratchFile::Flush() {
    const char* at = buffer_.data();
    std::size_t left = buffer_.size();
    while (left > 0) {
        const ssize_t written = write(fd_, at, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            Fail(u"a temporary file could not be written"_s, written < 0 ? errno : ENOSPC);
        at += written;
        left -= static_cast<std::size_t>(written);
        written_ += static_cast<std::uint64_t>(written);
    }
    buffer_.clear();
}

void ScratchFile::ReadAt(std::uint64_t offset, void* into, std::size_t size) const {
    auto* at = static_cast<char*>(into);
    while (size > 0) {
        const ssize_t got = pread(fd_, at, size, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            Fail(u"a temporary file could not be read"_s, got < 0 ? errno : EIO);
        at += got;
        offset += static_cast<std::uint64_t>(got);
        size -= static_cast<std::size_t>(got);
    }
}

void ScratchReader::Refill() {
    const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(end_ - at_, kBufferBytes));
    buffer_.resize(size);
    file_.ReadAt(at_, buffer_.data(), size);
    at_ += size;
    next_ = 0;
}

void ScratchReader::Ended() {
    throw Failure(u"a temporary file ended too early"_s);
}

void ScratchReader::Read(void* into, std::size_t size) {
    auto* out = static_cast<char*>(into);
    while (size > 0) {
        if (next_ == buffer_.size())
            Refill();
        if (buffer_.empty())
            Ended();
        const std::size_t part = std::min(size, buffer_.size() - next_);
        std::memcpy(out, buffer_.data() + next_, part);
        next_ += part;
        out += part;
        size -= part;
    }
}
