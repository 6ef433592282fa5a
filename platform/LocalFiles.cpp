#include "platform/LocalFiles.h"

#include "platform/Failure.h"

#include <QRandomGenerator>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

using namespace Qt::StringLiterals;

namespace LocalFiles {

namespace {

QString SystemMessage(int error) {
    return QString::fromStdString(std::generic_category().message(error));
}

[[noreturn]] void ThrowFor(int error, const QString& shown) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        throw Failure(u"File not found"_s);
    case EISDIR:
        throw Failure(u"%1 is a folder, not a file"_s.arg(shown));
    case ELOOP:
        throw Failure(u"%1 cannot be opened: its links lead round in a loop"_s.arg(shown));
    case EFBIG:
        throw Failure(
            u"File too large: the size limit for files this program writes was reached"_s);
    default:
        throw Failure(SystemMessage(error));
    }
}

// A link whose end is missing deserves more than "File not found".
[[noreturn]] void ThrowMissing(const QByteArray& path, const QString& shown) {
    struct stat link {};
    if (lstat(path.constData(), &link) == 0 && S_ISLNK(link.st_mode))
        throw Failure(u"%1 is a link to a file that does not exist"_s.arg(shown));
    throw Failure(u"File not found"_s);
}

[[noreturn]] void ThrowKind(const struct stat& info, const QString& shown) {
    if (S_ISDIR(info.st_mode))
        throw Failure(u"%1 is a folder, not a file"_s.arg(shown));
    throw Failure(u"%1 is not an ordinary file"_s.arg(shown));
}

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { Close(); }
    int Get() const { return fd_; }
    int Release() { return std::exchange(fd_, -1); }
    void Reset(int fd) {
        Close();
        fd_ = fd;
    }
    // Returns the error of closing, or 0.
    int Close() {
        if (fd_ < 0)
            return 0;
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int fd_;
};

class LocalInputFile final : public InputFile {
public:
    LocalInputFile(int fd, qint64 size, QString shown)
        : fd_(fd), size_(size), shown_(std::move(shown)) {}

    std::size_t Read(char* data, std::size_t size) override {
        for (;;) {
            const ssize_t read = ::read(fd_.Get(), data, size);
            if (read >= 0)
                return static_cast<std::size_t>(read);
            if (errno != EINTR)
                ThrowFor(errno, shown_);
        }
    }
    qint64 SizeHint() const override { return size_; }
    void Rewind() override {
        if (size_ < 0 || ::lseek(fd_.Get(), 0, SEEK_SET) != 0)
            throw Failure(u"%1 can be read only once"_s.arg(shown_));
    }

private:
    Descriptor fd_;
    qint64 size_;
    QString shown_;
};

int OpenRetrying(const QByteArray& path, int flags, mode_t mode = 0) {
    for (;;) {
        const int fd = ::open(path.constData(), flags | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EINTR)
            return fd;
    }
}

// Where a link leads, followed to its end even when that end does not exist yet; the path itself
// when it is no link.
QByteArray FinalTarget(QByteArray path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (lstat(path.constData(), &info) != 0 || !S_ISLNK(info.st_mode))
            return path;
        QByteArray target(4096, Qt::Uninitialized);
        const ssize_t length = readlink(path.constData(), target.data(), target.size());
        if (length < 0 || length >= target.size())
            return path;
        target.truncate(length);
        if (!target.startsWith('/')) {
            const qsizetype slash = path.lastIndexOf('/');
            target.prepend(slash < 0 ? QByteArray() : path.first(slash + 1));
        }
        path = target;
    }
    errno = ELOOP;
    return {};
}

// A full disk or a file size limit must show as a failed write, not end the process.
void LetWritesFailRatherThanSignal() {
    static std::once_flag once;
    std::call_once(once, [] { std::signal(SIGXFSZ, SIG_IGN); });
}

class LocalOutputFile final : public OutputFile {
public:
    LocalOutputFile(QByteArray target, QString shown, std::optional<struct stat> old)
        : target_(std::move(target)), shown_(std::move(shown)), old_(old) {
        const qsizetype slash = target_.lastIndexOf('/');
        const QByteArray folder = slash < 0 ? QByteArray() : target_.first(slash + 1);
        const QByteArray name = target_.mid(slash + 1);
        for (int attempt = 0; attempt < 100; ++attempt) {
            temporary_ = folder + '.' + name + ".tarnwick-" +
                         QByteArray::number(QRandomGenerator::global()->generate(), 36);
            fd_.Reset(OpenRetrying(temporary_, O_WRONLY | O_CREAT | O_EXCL, CreationMode()));
            if (fd_.Get() >= 0)
                return;
            if (errno != EEXIST)
                ThrowFor(errno, shown_);
        }
        ThrowFor(EEXIST, shown_);
    }
    ~LocalOutputFile() override {
        if (!committed_) {
            fd_.Close();
            ::unlink(temporary_.constData());
        }
    }

    void Write(QByteArrayView bytes) override {
        if (buffer_.size() + bytes.size() > kBufferBytes)
            Flush();
        if (bytes.size() >= kBufferBytes)
            WriteOut(bytes);
        else
            buffer_.append(bytes);
    }

    void Commit() override {
        Flush();
        if (::fsync(fd_.Get()) != 0)
            ThrowFor(errno, shown_);
        if (old_) {
            // The owner and group go first: changing them may clear the set-user bits.
            if (::fchown(fd_.Get(), old_->st_uid, old_->st_gid) != 0)
                (void)::fchown(fd_.Get(), static_cast<uid_t>(-1), old_->st_gid);
            (void)::fchmod(fd_.Get(), old_->st_mode & 07777);
        }
        if (const int error = fd_.Close(); error != 0)
            ThrowFor(error, shown_);
        if (::rename(temporary_.constData(), target_.constData()) != 0)
            ThrowFor(errno, shown_);
        committed_ = true;
        SyncFolder();
    }

private:
    static constexpr qsizetype kBufferBytes = qsizetype{1} << 16;

    // Whoever opens the new file while it is written goes on reading it after the rename,
    // whatever mode it is given then: so an old file's text is its owner's alone (or narrower
    // still, as the old file may be) until the last byte is in. A file that is new anyway shows
    // nobody more while it is written than once it is there: 0666 less the user's mask.
    mode_t CreationMode() const { return old_ ? old_->st_mode & 0600 : 0666; }

    void Flush() {
        WriteOut(buffer_);
        buffer_.clear();
    }

    void WriteOut(QByteArrayView bytes) {
        const char* data = bytes.data();
        for (qsizetype left = bytes.size(); left > 0;) {
            const ssize_t written = ::write(fd_.Get(), data, static_cast<std::size_t>(left));
            if (written < 0) {
                if (errno == EINTR)
                    continue;
                ThrowFor(errno, shown_);
            }
            if (written == 0)
                ThrowFor(ENOSPC, shown_);
            data += written;
            left -= written;
        }
    }

    // The rename is on the disk too once the folder is; a refusal (some file systems) is harmless.
    void SyncFolder() const {
        const qsizetype slash = target_.lastIndexOf('/');
        const QByteArray folder = slash < 0 ? QByteArray(".") : target_.first(slash + 1);
        const Descriptor fd(OpenRetrying(folder, O_RDONLY | O_DIRECTORY));
        if (fd.Get() >= 0)
            (void)::fsync(fd.Get());
    }

    QByteArray target_;
    QString shown_;
    std::optional<struct stat> old_;
    QByteArray temporary_;
    Descriptor fd_;
    QByteArray buffer_;
    bool committed_ = false;
};

} // namespace

PathState StateOf(const QByteArray& path) {
    struct stat info {};
    if (path.isEmpty())
        return PathState::Absent;
    if (lstat(path.constData(), &info) == 0)
        return PathState::Present;
    return errno == ENOENT || errno == ENOTDIR ? PathState::Absent : PathState::Unreachable;
}

bool IsOrdinaryFile(const QByteArray& path) {
    struct stat info {};
    const qsizetype slash = path.lastIndexOf('/');
    const bool hidden = path.mid(slash + 1).startsWith('.');
    return !path.isEmpty() && !hidden && stat(path.constData(), &info) == 0 &&
           S_ISREG(info.st_mode);
}

std::unique_ptr<InputFile> OpenForReading(const QByteArray& path, const QString& shown,
                                          Accept accept) {
    struct stat info {};
    if (path.isEmpty())
        throw Failure(u"File not found"_s);
    if (stat(path.constData(), &info) != 0) {
        if (errno == ENOENT)
            ThrowMissing(path, shown);
        ThrowFor(errno, shown);
    }
    const bool ordinary = S_ISREG(info.st_mode);
    if (S_ISDIR(info.st_mode) || (!ordinary && accept == Accept::OrdinaryFiles))
        ThrowKind(info, shown);
    // Not waiting on what the check above let through: it may have been swapped since.
    const int flags = O_RDONLY | O_NOCTTY | (accept == Accept::OrdinaryFiles ? O_NONBLOCK : 0);
    Descriptor fd(OpenRetrying(path, flags));
    if (fd.Get() < 0) {
        if (errno == ENOENT)
            ThrowMissing(path, shown);
        if (errno == ENXIO) // a socket, or a pipe no one writes to
            ThrowKind(info, shown);
        ThrowFor(errno, shown);
    }
    if (fstat(fd.Get(), &info) != 0)
        ThrowFor(errno, shown);
    if (S_ISDIR(info.st_mode) || (!S_ISREG(info.st_mode) && accept == Accept::OrdinaryFiles))
        ThrowKind(info, shown);
    if (flags & O_NONBLOCK)
        (void)fcntl(fd.Get(), F_SETFL, fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK);
    const qint64 size = S_ISREG(info.st_mode) ? static_cast<qint64>(info.st_size) : -1;
    return std::make_unique<LocalInputFile>(fd.Release(), size, shown);
}

std::unique_ptr<OutputFile> StartWriting(const QByteArray& path, const QString& shown) {
    LetWritesFailRatherThanSignal();
    if (path.isEmpty())
        throw Failure(u"File not found"_s);
    const QByteArray target = FinalTarget(path);
    if (target.isEmpty())
        ThrowFor(errno, shown);
    struct stat info {};
    std::optional<struct stat> old;
    if (stat(target.constData(), &info) == 0) {
        if (!S_ISREG(info.st_mode))
            ThrowKind(info, shown);
        // A file the process may not write to stays, even where its folder would let it go.
        if (faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0)
            ThrowFor(errno, shown);
        old = info;
    } else if (errno != ENOENT) {
        ThrowFor(errno, shown);
    }
    return std::make_unique<LocalOutputFile>(target, shown, old);
}

} // namespace LocalFiles
