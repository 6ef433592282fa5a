// Writes two large text files for the comparisons beyond memory, the same kind make_inputs.py
// writes, but gigabytes of them in seconds: ASCII lines of about 50 bytes of word-like words, LF
// line ends, about 1% of the lines empty and 3% repeating a recent line; the second file is the
// first with about 5% of its lines edited by a word, 2.5% removed and 2.5% new lines inserted.
//
//     make_big_pair OUTDIR [BYTES [SEED]]
//
// writes OUTDIR/big-a.txt and OUTDIR/big-b.txt of about BYTES each (default 4 GiB). The same seed
// gives the same files. Never keep them in the repository.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() { // splitmix64
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::size_t Below(std::size_t n) { return static_cast<std::size_t>(Next() % n); }

private:
    std::uint64_t state_;
};

std::vector<std::string> Vocabulary(Random& random) {
    static const char kLetters[] = "etaoinshrdlucmfwypvbgkqjxz";
    std::vector<std::string> words(20000);
    for (std::string& word : words) {
        const std::size_t length = 2 + random.Below(9);
        for (std::size_t i = 0; i < length; ++i)
            word.push_back(kLetters[random.Below(i == 0 ? 26 : 12)]);
    }
    return words;
}

std::string Line(Random& random, const std::vector<std::string>& words) {
    std::string line;
    while (line.size() < 40 + random.Below(20)) {
        if (!line.empty())
            line.push_back(' ');
        line += words[random.Below(words.size())];
    }
    return line;
}

class Output {
public:
    explicit Output(const std::string& path) : file_(std::fopen(path.c_str(), "wb")) {
        if (!file_) {
            std::perror(path.c_str());
            std::exit(2);
        }
        std::setvbuf(file_, nullptr, _IOFBF, 1 << 22);
    }
    ~Output() {
        if (std::fclose(file_) != 0) {
            std::perror("close");
            std::exit(2);
        }
    }
    void Put(const std::string& line) {
        if (std::fwrite(line.data(), 1, line.size(), file_) != line.size() ||
            std::fputc('\n', file_) == EOF) {
            std::perror("write");
            std::exit(2);
        }
        bytes_ += line.size() + 1;
    }
    std::uint64_t Bytes() const { return bytes_; }

private:
    std::FILE* file_;
    std::uint64_t bytes_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: make_big_pair OUTDIR [BYTES [SEED]]\n");
        return 2;
    }
    const std::string dir = argv[1];
    const std::uint64_t bytes = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 4ull << 30;
    Random random(argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 1);
    const std::vector<std::string> words = Vocabulary(random);
    Output a(dir + "/big-a.txt");
    Output b(dir + "/big-b.txt");
    std::vector<std::string> recent(64);
    std::uint64_t lines = 0;
    while (a.Bytes() < bytes) {
        std::string line;
        const std::size_t kind = random.Below(100);
        if (kind == 0)
            line = "";
        else if (kind < 4 && lines > 0)
            line = recent[random.Below(std::min<std::uint64_t>(lines, recent.size()))];
        else
            line = Line(random, words);
        recent[lines++ % recent.size()] = line;
        a.Put(line);
        const std::size_t change = random.Below(1000);
        if (change < 50 && !line.empty()) { // edited: one word replaced, or one added
            const std::size_t blank = line.find(' ', random.Below(line.size()));
            b.Put(blank == std::string::npos
                      ? line + ' ' + words[random.Below(words.size())]
                      : line.substr(0, blank + 1) + words[random.Below(words.size())] +
                            line.substr(line.find(' ', blank + 1) == std::string::npos
                                            ? line.size()
                                            : line.find(' ', blank + 1)));
        } else if (change < 75) {
            // removed
        } else if (change < 100) { // a new line inserted before it
            b.Put(Line(random, words));
            b.Put(line);
        } else {
            b.Put(line);
        }
    }
    std::printf("%s/big-a.txt: %llu lines, %llu bytes; %s/big-b.txt: %llu bytes\n", dir.c_str(),
                static_cast<unsigned long long>(lines), static_cast<unsigned long long>(a.Bytes()),
                dir.c_str(), static_cast<unsigned long long>(b.Bytes()));
    return 0;
}
