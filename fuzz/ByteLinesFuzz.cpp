// The line comparison on bytes against the comparison of the decoded texts: on every pair of files
// the first takes, both must print the same report and end with the same status. The first byte
// picks the report (readable, numbered, JSON or counts, the numbered and JSON ones with or without
// the look-alikes, --explain; loaded or exact; in memory or through temporary files; with or
// without the lines counted differently, --counts; under the rules about blanks, tabs and case,
// with masks and ignore-matching, or none) and whether the rest is taken as it is or as picks from
// pieces that make breaks, multi-byte characters, marks and broken UTF-8 likely; a 0xFF byte ends
// the first file.
#include "cli/ByteLineComparison.h"
#include "cli/CliComparison.h"

#include "PrintedRun.h"

#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <unistd.h>

namespace {

// The two files live in a folder of their own, made once and removed at the end.
struct Scratch {
    std::string dir;
    std::string files[2];

    Scratch() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/byte-lines-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data()))
            std::abort();
        dir = pattern;
        files[0] = dir + "/one.txt";
        files[1] = dir + "/two.txt";
    }
    ~Scratch() {
        for (const std::string& file : files)
            unlink(file.c_str());
        rmdir(dir.c_str());
    }
};

Scratch& TheScratch() {
    static Scratch scratch;
    return scratch;
}

void WriteFile(const std::string& path, const QByteArray& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(bytes.data(), 1, static_cast<std::size_t>(bytes.size()), file) !=
                     static_cast<std::size_t>(bytes.size()))
        std::abort();
    std::fclose(file);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const char* const kPieces[] = {"a",
                                          "b",
                                          "ab",
                                          "AB",
                                          " ",
                                          "  ",
                                          "\r",
                                          "\n",
                                          "\r\n",
                                          "\t",
                                          "\"",
                                          "\\",
                                          "\x01",
                                          "\xC3\xA9",
                                          "\xE2\x82\xAC",
                                          "\xF0\x9F\x98\x80",
                                          "\xEF\xBB\xBF",
                                          "\x93",
                                          "\xC3",
                                          "{\\rtf"};
    if (size == 0)
        return 0;
    const std::uint8_t flags = data[0];
    QByteArray bytes[2];
    int side = 0;
    for (std::size_t i = 1; i < size; ++i) {
        if (data[i] == 0xFF && side == 0) {
            side = 1;
            continue;
        }
        if (flags & 4)
            bytes[side].append(static_cast<char>(data[i]));
        else
            bytes[side].append(kPieces[data[i] % std::size(kPieces)]);
    }
    Scratch& scratch = TheScratch();
    CliOptions options;
    options.exact = (flags & 1) != 0;
    options.json = (flags & 2) != 0;
    options.lineNumbers = (flags & 8) != 0;
    // 16: only how many, or where the report names them (JSON, numbered) the look-alikes too.
    options.explain = (flags & 16) != 0 && (options.json || options.lineNumbers);
    options.count = (flags & 16) != 0 && !options.explain;
    if (flags & 32) // through temporary files
        options.memoryBytes = 1;
    options.counts = (flags & 64) != 0;
    if (flags & 128) { // the rules about blanks, tabs and case: -w -i, or with 64 -b -i
        using compare::LookalikeKind;
        compare::RuleChoice choice;
        choice.kinds = compare::LookalikeKinds(LookalikeKind::TrailingSpace)
                           .With(LookalikeKind::InnerSpace)
                           .With(LookalikeKind::Case);
        if (!options.counts)
            choice.kinds = choice.kinds.With(LookalikeKind::LeadingSpace);
        // JSON is left to the general comparison under the rules: in its place masks, beside the
        // kinds, or with 64 alone and with ignore-matching.
        if (options.json) {
            choice.masks = {u"B", u"\\t$"};
            if (options.counts) {
                choice.kinds = {};
                choice.masks = {u"b+", u"a\\s|\\t$"};
                choice.ignoreMatching = u"^AB";
            }
            options.json = false;
        }
        options.rules = compare::ComparisonRules(choice);
        options.counts = false;
    }
    options.file1 = QByteArray::fromStdString(scratch.files[0]);
    options.file2 = QByteArray::fromStdString(scratch.files[1]);
    WriteFile(scratch.files[0], bytes[0]);
    WriteFile(scratch.files[1], bytes[1]);
    std::optional<int> asBytes, general;
    const QByteArray got =
        Printed([&](std::FILE* out) { return CompareLinesAsBytes(options, out); }, asBytes);
    if (!asBytes) {
        if (!got.isEmpty())
            std::abort(); // declined, yet wrote
        return 0;
    }
    const QByteArray expected =
        Printed([&](std::FILE* out) { return RunGeneralComparison(options, out); }, general);
    if (got != expected || asBytes != general)
        std::abort();
    return 0;
}
