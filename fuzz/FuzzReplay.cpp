// Runs a fuzz target without libFuzzer, for the tests: every input of its seed folder, then as
// many variations of them as asked (bytes flipped, put in, taken out, repeated, and pieces of two
// seeds joined), always the same ones, so that a failure, which aborts as under the fuzzer, comes
// back with the same command.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kLongestInput = 4096; // as tools/fuzz runs the targets

std::vector<Bytes> ReadSeeds(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file())
            paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    std::vector<Bytes> seeds;
    for (const auto& path : paths) {
        std::ifstream in(path, std::ios::binary);
        seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (seeds.empty())
        seeds.emplace_back();
    return seeds;
}

// One change to `input`, of the kinds that break a format's structure most often.
void Mutate(Bytes& input, const Bytes& other, std::mt19937& random) {
    const auto at = [&](std::size_t size) { return size == 0 ? 0 : random() % size; };
    static constexpr std::uint8_t kTelling[] = {'\r', '\n', ' ',  '\t', 0,    0xFF, 0xC3, 0xA9,
                                                0xE2, 0x80, 0x8B, '{',  '\\', '}',  'a',  'A'};
    switch (random() % 6) {
    case 0:
        if (!input.empty())
            input[at(input.size())] ^= static_cast<std::uint8_t>(1u << (random() % 8));
        break;
    case 1:
        input.insert(input.begin() + static_cast<std::ptrdiff_t>(at(input.size() + 1)),
                     kTelling[random() % std::size(kTelling)]);
        break;
    case 2:
        if (!input.empty()) {
            const std::size_t from = at(input.size());
            const std::size_t count = std::min<std::size_t>(1 + random() % 8, input.size() - from);
            input.erase(input.begin() + static_cast<std::ptrdiff_t>(from),
                        input.begin() + static_cast<std::ptrdiff_t>(from + count));
        }
        break;
    case 3:
        if (!input.empty()) {
            const std::size_t from = at(input.size());
            const std::size_t count = std::min<std::size_t>(1 + random() % 16, input.size() - from);
            const Bytes piece(input.begin() + static_cast<std::ptrdiff_t>(from),
                              input.begin() + static_cast<std::ptrdiff_t>(from + count));
            input.insert(input.begin() + static_cast<std::ptrdiff_t>(at(input.size() + 1)),
                         piece.begin(), piece.end());
        }
        break;
    case 4: {
        const std::size_t cut = at(input.size() + 1);
        const std::size_t from = at(other.size() + 1);
        input.resize(cut);
        input.insert(input.end(), other.begin() + static_cast<std::ptrdiff_t>(from), other.end());
        break;
    }
    default:
        if (!input.empty())
            input[at(input.size())] = kTelling[random() % std::size(kTelling)];
        break;
    }
    if (input.size() > kLongestInput)
        input.resize(kLongestInput);
}

void Run(const Bytes& input) {
    LLVMFuzzerTestOneInput(input.data(), input.size());
}

} // namespace

// usage: TARGET SEED_FOLDER VARIATIONS
int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SEED_FOLDER VARIATIONS\n", argv[0]);
        return 2;
    }
    const std::vector<Bytes> seeds = ReadSeeds(argv[1]);
    const long variations = std::strtol(argv[2], nullptr, 10);
    for (const Bytes& seed : seeds)
        Run(seed);
    std::mt19937 random(20261208);
    for (long i = 0; i < variations; ++i) {
        Bytes input = seeds[random() % seeds.size()];
        for (unsigned changes = 1 + random() % 4; changes > 0; --changes)
            Mutate(input, seeds[random() % seeds.size()], random);
        Run(input);
    }
    std::printf("%zu seeds and %ld variations passed\n", seeds.size(), variations);
    return 0;
}
