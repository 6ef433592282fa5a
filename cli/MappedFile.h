#pragma once

#include <QByteArray>

#include <memory>
#include <string_view>

// An ordinary file's bytes, mapped into memory for reading, so that nothing is copied before the
// bytes are compared. A file that shrinks while it is mapped would make reading the lost part
// fault: the process then says that a file changed while it was being read and ends with status 2.
class MappedFile {
public:
    // The file mapped whole, or nullptr when it is not an ordinary file, is empty, or cannot be
    // opened or mapped: the tool's general reading then tells why, in its own words. With
    // `populate` the pages are read in at once, for bytes that will all be looked at.
    static std::unique_ptr<MappedFile> Open(const QByteArray& path, bool populate);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    std::string_view Bytes() const { return {data_, size_}; }
    // Tells the system that the bytes before `offset` will not be read again soon, so that a
    // file larger than memory does not crowd the process.
    void Forget(std::size_t offset) const;

private:
    MappedFile(const char* data, std::size_t size) : data_(data), size_(size) {}

    const char* data_;
    std::size_t size_;
};
