#include "cli/ByteLineComparison.h"

#include "cli/ByteLineCounts.h"
#include "cli/ByteLineTable.h"
#include "cli/ByteLines.h"
#include "cli/ByteLinesReport.h"
#include "cli/ByteLinesUnderRules.h"
#include "cli/ByteLookalikeLines.h"
#include "cli/ByteLookalikeReport.h"
#include "cli/ByteRuleKey.h"
#include "cli/MappedFile.h"
#include "cli/ReportSinks.h"
#include "cli/ShownName.h"
#include "cli/SpilledLineComparison.h"
#include "compare/RuleError.h"
#include "compare/SideBySide.h"
#include "files/TextFileReading.h"

#include <QByteArrayView>

#include <array>
#include <future>
#include <string_view>
#include <sys/stat.h>

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kRichTextStart = "{\\rtf";
// What the general comparison takes when it reads the files again for every pass: its run, and
// about twice the files.
constexpr qint64 kStreamedRunBytes = qint64{48} << 20;
constexpr qint64 kStreamedBytesPerByte = 2;
// What the run takes beside its data: the program, its buffers and its threads.
constexpr qint64 kRunBytes = qint64{32} << 20;
// Cuts and hashes, table slots at most half full, and an entry in the list of missing pieces.
constexpr qint64 kBytesPerPiece = ByteLines::kBytesPerPiece + 2 * sizeof(std::uint64_t) + 4;
// Counting lines (--counts) keeps a repeated piece's table slot in 32 bits: a table of at most
// 2^32 slots, which is at most 2^31 pieces.
constexpr qint64 kMostCountedPieces = 0x7FFF'FFFF;

// The bytes the comparison compares, or nothing when they do not decode to themselves: for
// AsLoaded text, rich text is read as its plain text, and a file that is not valid UTF-8 after
// its byte-order mark is read with replacement characters or as Windows-1252.
std::optional<std::string_view> ComparedBytes(std::string_view bytes, bool exact) {
    if (!exact) {
        if (bytes.starts_with(kRichTextStart))
            return std::nullopt;
        if (bytes.starts_with(kByteOrderMark))
            bytes.remove_prefix(kByteOrderMark.size());
    }
    if (!QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())).isValidUtf8())
        return std::nullopt;
    return bytes;
}

struct Side {
    std::unique_ptr<MappedFile> file;
    std::optional<ByteLines> lines;
    std::optional<ByteLineTable> table;
    std::vector<std::uint32_t> missing;
    std::vector<std::uint64_t> repeats; // with --counts (see ByteLineTable)
};

enum class Prepared { Ready, NotBytes, TooLarge };

// Maps, cuts and indexes one file; `counts`: and keeps its repeated pieces; under `rules`: and
// marks where they may change its lines.
Prepared Prepare(const QByteArray& path, bool exact, bool counts,
                 const compare::ComparisonRules& rules, std::size_t maxPieces, Side& side) {
    side.file = MappedFile::Open(path, true);
    if (!side.file)
        return Prepared::NotBytes;
    const std::optional<std::string_view> bytes = ComparedBytes(side.file->Bytes(), exact);
    if (!bytes)
        return Prepared::NotBytes;
    std::optional<RuleChangeMap> changes;
    if (!rules.Kinds().Empty())
        changes.emplace(*bytes, rules.Kinds());
    side.lines.emplace(*bytes, exact ? ByteLines::Form::Exact : ByteLines::Form::AsLoaded,
                       maxPieces, changes ? &*changes : nullptr);
    if (!side.lines->Complete())
        return Prepared::TooLarge;
    side.table.emplace(*side.lines, counts ? &side.repeats : nullptr);
    return Prepared::Ready;
}

// The comparison through temporary files; nothing when a file needs the general comparison.
std::optional<int> CompareSpilled(const CliOptions& options, std::FILE* out) {
    if (!SpilledServes(options))
        return std::nullopt;
    const std::unique_ptr<MappedFile> file1 = MappedFile::Open(options.file1, false);
    const std::unique_ptr<MappedFile> file2 = MappedFile::Open(options.file2, false);
    if (!file1 || !file2)
        return std::nullopt;
    // Where the general comparison reads the files and stays within the bound, reading each file
    // again for every pass, it needs no disk.
    const qint64 size1 = static_cast<qint64>(file1->Bytes().size());
    const qint64 size2 = static_cast<qint64>(file2->Bytes().size());
    if (std::max(size1, size2) <= kMaxTextFileBytes &&
        kStreamedRunBytes + kStreamedBytesPerByte * (size1 + size2) <=
            MemoryAllowance(options, size1 + size2))
        return std::nullopt;
    // Validity is checked as the text is cut: checking it first would read the files once more.
    std::string_view bytes1 = file1->Bytes(), bytes2 = file2->Bytes();
    for (std::string_view* bytes : {&bytes1, &bytes2}) {
        if (options.exact)
            continue;
        if (bytes->starts_with(kRichTextStart))
            return std::nullopt;
        if (bytes->starts_with(kByteOrderMark))
            bytes->remove_prefix(kByteOrderMark.size());
    }
    return CompareLinesSpilled(options, {*file1, bytes1}, {*file2, bytes2}, out);
}

// Whether the kinds of the rules are only some of those about blanks, tabs and case, beside any
// masks and ignore-matching, with nothing in the report that names what they matched: what the
// comparison on bytes does when both texts are ASCII.
bool RulesServed(const CliOptions& options) {
    const compare::LookalikeKinds kinds = options.rules.Kinds();
    return (kinds.Empty() || ByteRuleKey::Serves(kinds)) && !options.json && !options.counts;
}

// What the lines and the table of a text and the list of its missing pieces take.
qint64 SideBytes(const Side& side) {
    const std::size_t pieces = side.lines->PieceCount();
    return static_cast<qint64>(pieces * ByteLines::kBytesPerPiece + pieces / 8 + 8 +
                               ByteLineTable::MemoryBytes(pieces) +
                               side.missing.size() * sizeof(std::uint32_t));
}

// Under the rules, the missing pieces of both sides that the rules leave red, the two directions
// side by side; false when a text is not ASCII, the keys would not fit in `left` bytes beside
// what the sides take, or an expression could not be matched against a line: the general
// comparison then matches it again and says what it says of that.
bool SortOutUnderRules(const CliOptions& options, Side& first, Side& second, qint64 left) {
    if (first.lines->NonAscii() || second.lines->NonAscii())
        return false;
    const std::size_t longest =
        std::max(first.lines->LongestContent(), second.lines->LongestContent());
    const compare::ComparisonRules& rules = options.rules;
    const qint64 keys =
        static_cast<qint64>(RedUnderRulesBytes(first.missing.size(), longest, rules) +
                            RedUnderRulesBytes(second.missing.size(), longest, rules));
    if (keys > left - SideBytes(first) - SideBytes(second))
        return false;
    const auto keepRed = [&](Side& own, const Side& other) {
        try {
            KeepRedUnderRules(*own.lines, own.missing, *other.lines, rules);
            return true;
        } catch (const compare::RuleError&) {
            return false;
        }
    };
    const auto [firstDone, secondDone] = compare::SideBySide(
        [&](int side) { return side == 0 ? keepRed(first, second) : keepRed(second, first); });
    return firstDone && secondDone;
}

qint64 OrdinaryFileSize(const QByteArray& path) {
    struct stat status {};
    if (stat(path.constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return -1;
    return status.st_size;
}

} // namespace

bool LinesAsBytesServe(const CliOptions& options) {
    // Standard input is read by the general comparison; a file named "-" is reached as ./-.
    if (options.file1 == kStandardInput || options.file2 == kStandardInput)
        return false;
    // The kinds of rules but for those about blanks, tabs and case, the rules with JSON or
    // --counts, and look-alikes under any rules, are only worked out on decoded texts.
    if (options.rules.Any() && !RulesServed(options))
        return false;
    CliOptions served = options;
    served.explain = options.explain && (options.count || options.quiet || !options.rules.Any());
    return options.mode == CliOptions::Mode::Lines && options == served;
}

std::optional<int> CompareLinesAsBytes(const CliOptions& options, std::FILE* out) {
    if (!LinesAsBytesServe(options))
        return std::nullopt;
    const qint64 size1 = OrdinaryFileSize(options.file1);
    const qint64 size2 = OrdinaryFileSize(options.file2);
    if (size1 < 0 || size2 < 0)
        return std::nullopt;
    // The files are mapped whole; their pieces share what is left, in proportion to their size.
    const bool rules = options.rules.Any();
    const qint64 left = MemoryAllowance(options, size1 + size2) - kRunBytes - size1 - size2;
    if (left <= 0)
        return rules ? std::nullopt : CompareSpilled(options, out);
    const qint64 pieces =
        options.counts
            ? std::min(left / (kBytesPerPiece + qint64{kCountBytesPerPiece}), kMostCountedPieces)
            : std::min<qint64>(left / kBytesPerPiece, qint64{0xFFFF'FFFE});
    const auto share = [&](qint64 size) {
        return static_cast<std::size_t>(
            size1 + size2 == 0
                ? pieces / 2
                : static_cast<qint64>(static_cast<double>(pieces) * static_cast<double>(size) /
                                      static_cast<double>(size1 + size2)));
    };
    Side first, second;
    auto secondReady = std::async(std::launch::async, [&] {
        return Prepare(options.file2, options.exact, options.counts, options.rules, share(size2),
                       second);
    });
    const Prepared firstReady =
        Prepare(options.file1, options.exact, options.counts, options.rules, share(size1), first);
    const Prepared secondReadyNow = secondReady.get();
    if (firstReady == Prepared::NotBytes || secondReadyNow == Prepared::NotBytes)
        return std::nullopt;
    if (firstReady == Prepared::TooLarge || secondReadyNow == Prepared::TooLarge) {
        if (rules)
            return std::nullopt;
        for (Side* side : {&first, &second}) { // the room is the other comparison's now
            side->table.reset();
            side->lines.reset();
            side->file.reset();
            side->repeats = {};
        }
        return CompareSpilled(options, out);
    }
    if (rules && (first.lines->NonAscii() || second.lines->NonAscii()))
        return std::nullopt;
    auto secondMissing = std::async(
        std::launch::async, [&] { second.missing = first.table->MissingOf(*second.lines); });
    first.missing = second.table->MissingOf(*first.lines);
    secondMissing.get();
    if (rules && !SortOutUnderRules(options, first, second, left))
        return std::nullopt;
    std::array<ByteLookalikes, 2> lookalikes;
    const bool explain = options.explain && !options.count && !options.quiet;
    if (explain) {
        std::optional<std::array<ByteLookalikes, 2>> found =
            FindByteLookalikes({*first.lines, *first.table, first.missing},
                               {*second.lines, *second.table, second.missing},
                               left - SideBytes(first) - SideBytes(second));
        if (!found)
            return std::nullopt;
        lookalikes = std::move(*found);
    }
    std::array<std::vector<ByteCountedLine>, 2> counted;
    // -q has its answer once a line is missing.
    if (options.counts && !(options.quiet && (!first.missing.empty() || !second.missing.empty())))
        counted = CountByteLines({*first.lines, *first.table, first.repeats},
                                 {*second.lines, *second.table, second.repeats}, !options.exact);

    ReportOutput report(out);
    const bool json = options.json && !options.count && !options.quiet;
    if (json)
        report.Write(R"({"mode":"lines")");
    const QByteArray name1 = ShownName(options.file1), name2 = ShownName(options.file2);
    std::array<LoadedSpans, 2> spans;
    if (explain && json)
        spans = SpansOfLookalikes({*first.lines, *first.table, first.missing},
                                  {*second.lines, *second.table, second.missing}, lookalikes);
    const SideByteLookalikes firstLookalikes{lookalikes[0], spans[0], spans[1]};
    const SideByteLookalikes secondLookalikes{lookalikes[1], spans[1], spans[0]};
    WriteByteLinesSide(options, 1, {name1, name2}, *first.lines, first.missing, counted[0], report,
                       explain ? &firstLookalikes : nullptr);
    WriteByteLinesSide(options, 2, {name2, name1}, *second.lines, second.missing, counted[1],
                       report, explain ? &secondLookalikes : nullptr);
    if (json)
        report.Write("}\n");
    report.Flush();
    const bool same =
        first.missing.empty() && second.missing.empty() && counted[0].empty() && counted[1].empty();
    return same ? 0 : 1;
}
