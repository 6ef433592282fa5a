#pragma once

#include <QByteArray>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A temporary file under a folder, removed from the folder as soon as it is made: only its open
// descriptor reaches it, so whatever ends the process, a signal or a crash included, the system
// frees its space. Written at its end through a buffer, then read from any place.
class ScratchFile {
public:
    // Fails (Failure) when the file cannot be made.
    explicit ScratchFile(const QByteArray& folder);
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    void Append(const void* bytes, std::size_t size);
    void AppendNumber(std::uint64_t number) { Append(&number, sizeof number); }
    // Writes out what the buffer holds; a full disk fails here or in Append (Failure).
    void Flush();
    // The bytes written, buffered ones included.
    std::uint64_t Size() const { return written_ + buffer_.size(); }
    // Reads `size` bytes from `offset` into `into`, which must have room for them.
    void ReadAt(std::uint64_t offset, void* into, std::size_t size) const;

private:
    int fd_ = -1;
    std::uint64_t written_ = 0;
    std::string buffer_;
};

// Reads a scratch file from a place on, a buffer at a time.
class ScratchReader {
public:
    ScratchReader(const ScratchFile& file, std::uint64_t from, std::uint64_t to)
        : file_(file), at_(from), end_(to) {}

    bool AtEnd() const { return next_ == buffer_.size() && at_ == end_; }
    // `size` bytes into `into`; they must be there.
    void Read(void* into, std::size_t size);
    std::uint8_t Byte() {
        if (next_ == buffer_.size()) [[unlikely]]
            Refill();
        if (buffer_.empty()) [[unlikely]]
            Ended();
        return static_cast<std::uint8_t>(buffer_[next_++]);
    }
    std::uint64_t Number() {
        std::uint64_t number = 0;
        Read(&number, sizeof number);
        return number;
    }

private:
    void Refill();
    [[noreturn]] static void Ended();

    const ScratchFile& file_;
    std::uint64_t at_;
    std::uint64_t end_;
    std::vector<char> buffer_;
    std::size_t next_ = 0;
};

// The folder temporary files go to: $TMPDIR, or /tmp.
QByteArray ScratchFolder();
