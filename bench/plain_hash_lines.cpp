// The yardstick for `tarnwick-cli lines`: the plainest fast program that lists the lines of each
// of two files that the other lacks. One thread, both files mapped, one hash set of views per
// file, the missing lines written as they are. It knows nothing of encodings or CR.
#include <cstdio>
#include <fcntl.h>
#include <string_view>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>
#include <vector>

namespace {

std::string_view Map(const char* path) {
    const int fd = open(path, O_RDONLY);
    struct stat st {};
    if (fd < 0 || fstat(fd, &st) != 0)
        return {};
    if (st.st_size == 0)
        return {"", 0};
    void* data = mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);
    return data == MAP_FAILED
               ? std::string_view()
               : std::string_view(static_cast<const char*>(data), static_cast<size_t>(st.st_size));
}

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end == text.npos ? text.size() : end + 1);
    }
    return lines;
}

void WriteMissing(const std::vector<std::string_view>& own,
                  const std::unordered_set<std::string_view>& other) {
    for (const std::string_view line : own) {
        if (!other.count(line)) {
            std::fwrite(line.data(), 1, line.size(), stdout);
            std::fputc('\n', stdout);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    const std::vector<std::string_view> a = Lines(Map(argv[1]));
    const std::vector<std::string_view> b = Lines(Map(argv[2]));
    const std::unordered_set<std::string_view> setA(a.begin(), a.end());
    const std::unordered_set<std::string_view> setB(b.begin(), b.end());
    WriteMissing(a, setB);
    WriteMissing(b, setA);
    return 0;
}
