#include "cli/SpilledLineComparison.h"

#include "cli/ContentSet.h"
#include "cli/LineHash.h"
#include "cli/PieceStream.h"
#include "cli/ReportSinks.h"
#include "cli/RunProgress.h"
#include "cli/ScratchFile.h"
#include "cli/ShownName.h"
#include "cli/SideReport.h"
#include "platform/Failure.h"

#include <QString>

#include <algorithm>
#include <charconv>
#include <memory>
#include <queue>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// What the run takes beside one bucket's contents: the program, the cutting's block and the
// buffers of the temporary files.
constexpr qint64 kRunBytes = qint64{48} << 20;
// A bucket's share of memory, at least: a bound smaller than the run itself still works.
constexpr qint64 kLeastBucketBytes = qint64{64} << 10;
// Buckets at most: each side keeps a temporary file open for each.
constexpr std::uint64_t kMaxBuckets = 256;
// A piece in a bucket's file beside its content, at most for most files: its number and length.
constexpr std::uint64_t kRecordBytes = 8;
// What holding a distinct content takes beside its bytes: its slots in the table.
constexpr auto kHeldBytesPerPiece =
    static_cast<std::uint64_t>(ContentSet::kSlotsPerContent * ContentSet::kSlotBytes) + 1;
constexpr std::uint64_t kSampleBytes = std::uint64_t{16} << 20;

constexpr int kMostVarintBytes = 10;

std::uint8_t* PutVarint(std::uint8_t* out, std::uint64_t value) {
    while (value >= 0x80) {
        *out++ = static_cast<std::uint8_t>(value | 0x80);
        value >>= 7;
    }
    *out++ = static_cast<std::uint8_t>(value);
    return out;
}

std::size_t BucketOf(std::uint64_t hash, std::uint64_t buckets) {
    return static_cast<std::size_t>(((hash >> 32) * buckets) >> 32);
}

struct Bucketed {
    std::vector<std::unique_ptr<ScratchFile>> files;
    std::vector<std::uint64_t> counts;    // pieces in each bucket
    std::vector<std::uint64_t> lastPiece; // the number of each bucket's last piece
    std::uint64_t pieces = 0;
};

// Splits a text's pieces into the buckets; false when it is not valid UTF-8.
bool Split(const SpilledText& text, ByteLines::Form form, const QByteArray& folder,
           std::uint64_t buckets, Bucketed& out, RunProgress& progress, std::uint64_t before) {
    for (std::uint64_t i = 0; i < buckets; ++i)
        out.files.push_back(std::make_unique<ScratchFile>(folder));
    out.counts.assign(buckets, 0);
    out.lastPiece.assign(buckets, 0);
    const bool valid =
        PieceStream(text.file, text.bytes, form).ForEach([&](std::string_view content, auto read) {
            const std::uint64_t hash = LineHash(content);
            const std::size_t bucket = BucketOf(hash, buckets);
            ScratchFile& file = *out.files[bucket];
            ++out.counts[bucket];
            // The piece's number as the step from the bucket's last one, and the content's
            // length, seven bits a byte: most records take three bytes beside their content.
            std::uint8_t record[2 * kMostVarintBytes];
            std::uint8_t* end = PutVarint(record, out.pieces - out.lastPiece[bucket]);
            end = PutVarint(end, content.size());
            out.lastPiece[bucket] = out.pieces++;
            file.Append(record, static_cast<std::size_t>(end - record));
            file.Append(content.data(), content.size());
            progress.At(before + read);
        });
    for (const auto& file : out.files)
        file->Flush();
    return valid;
}

// Reads the records of one bucket's file in order.
class BucketReader {
public:
    explicit BucketReader(const ScratchFile& file) : reader_(file, 0, file.Size()) {}
    bool Next() {
        if (reader_.AtEnd())
            return false;
        number_ += Varint();
        content_.resize(static_cast<std::size_t>(Varint()));
        reader_.Read(content_.data(), content_.size());
        hash_ = LineHash(content_); // made again rather than spilled: it costs less than the disk
        return true;
    }
    std::uint64_t Number() const { return number_; }
    std::uint64_t Hash() const { return hash_; }
    std::string_view Content() const { return content_; }

private:
    std::uint64_t Varint() {
        std::uint64_t value = 0;
        for (int shift = 0;; shift += 7) {
            const std::uint8_t byte = reader_.Byte();
            value |= std::uint64_t{byte & 0x7Fu} << shift;
            if ((byte & 0x80) == 0 || shift > 56)
                return value;
        }
    }

    ScratchReader reader_;
    std::uint64_t number_ = 0;
    std::uint64_t hash_ = 0;
    std::string content_;
};

// The numbers of one side's missing pieces, bucket after bucket, each bucket's in text order.
struct Missing {
    explicit Missing(const QByteArray& folder) : file(folder) {}
    ScratchFile file;
    std::vector<std::uint64_t> bucketEnds; // in bytes of the file
    std::uint64_t Count() const { return file.Size() / sizeof(std::uint64_t); }
};

// The pieces of `own` that no piece of `other`, of which there are `otherCount`, has the content
// of.
void FindMissing(const ScratchFile& own, const ScratchFile& other, std::uint64_t otherCount,
                 Missing& missing) {
    ContentSet held(otherCount);
    for (BucketReader reader(other); reader.Next();)
        held.Insert(reader.Hash(), reader.Content());
    for (BucketReader reader(own); reader.Next();)
        if (!held.Contains(reader.Hash(), reader.Content()))
            missing.file.AppendNumber(reader.Number());
    missing.file.Flush();
    missing.bucketEnds.push_back(missing.file.Size());
}

// The missing pieces' numbers of every bucket merged into one rising sequence.
class MissingInOrder {
public:
    explicit MissingInOrder(const Missing& missing) {
        std::uint64_t from = 0;
        for (const std::uint64_t to : missing.bucketEnds) {
            if (to > from) {
                readers_.push_back(std::make_unique<ScratchReader>(missing.file, from, to));
                heads_.push({readers_.back()->Number(), readers_.size() - 1});
            }
            from = to;
        }
    }
    // The next number, or the largest there is when none is left.
    std::uint64_t Next() {
        if (heads_.empty())
            return UINT64_MAX;
        const auto [number, reader] = heads_.top();
        heads_.pop();
        if (!readers_[reader]->AtEnd())
            heads_.push({readers_[reader]->Number(), reader});
        return number;
    }

private:
    using Head = std::pair<std::uint64_t, std::size_t>;
    std::vector<std::unique_ptr<ScratchReader>> readers_;
    std::priority_queue<Head, std::vector<Head>, std::greater<>> heads_;
};

void WriteEntries(const CliOptions& options, int file, const SpilledText& text,
                  const Missing& missing, ByteSink& out, RunProgress& progress,
                  std::uint64_t before) {
    MissingInOrder inOrder(missing);
    std::uint64_t next = inOrder.Next();
    std::uint64_t piece = 0;
    const char prefix[2] = {file == 1 ? '<' : '>', ' '};
    const ByteLines::Form form = options.exact ? ByteLines::Form::Exact : ByteLines::Form::AsLoaded;
    PieceStream(text.file, text.bytes, form).ForEach([&](std::string_view content, auto read) {
        if (piece++ != next)
            return;
        next = inOrder.Next();
        out.Write(QByteArrayView(prefix, 2));
        if (options.lineNumbers) {
            char number[24];
            const char* end = std::to_chars(number, number + sizeof number, piece).ptr;
            out.Write(QByteArrayView(number, end - number));
            out.Write(": ");
        }
        out.Write(QByteArrayView(content.data(), static_cast<qsizetype>(content.size())));
        out.Write("\n");
        progress.At(before + read);
    });
}

void WriteSide(const CliOptions& options, int file, const SideNames& names, const SpilledText& text,
               const Missing& missing, ByteSink& out, RunProgress& progress, std::uint64_t before) {
    const auto count = static_cast<qint64>(missing.Count());
    if (options.count) {
        out.Write(QByteArray::number(count) + ' ' + names.own + '\n');
        return;
    }
    out.Write(SideReport::HeaderOf(options.mode, count, names));
    WriteEntries(options, file, text, missing, out, progress, before);
}

// Fails before anything starts when `files` temporary files of `bytes` together would not fit.
void CheckRoom(const QByteArray& folder, std::uint64_t files, std::uint64_t bytes) {
    struct statvfs status {};
    if (statvfs(folder.constData(), &status) != 0)
        throw Failure(u"the free space under "_s + QString::fromLocal8Bit(folder) +
                      u" cannot be told"_s);
    // Each file ends in a block of its own.
    const std::uint64_t needed = bytes + files * status.f_frsize;
    const std::uint64_t free = std::uint64_t{status.f_bavail} * status.f_frsize;
    if (free < needed)
        throw Failure(QStringLiteral("these files need about %1 MB of temporary space under %2, "
                                     "which has %3 MB free (set TMPDIR to a larger place)")
                          .arg((needed >> 20) + 1)
                          .arg(QString::fromLocal8Bit(folder))
                          .arg(free >> 20));
}

} // namespace

bool SpilledServes(const CliOptions& options) {
    return options.mode == CliOptions::Mode::Lines && !options.json && !options.counts &&
           (!options.explain || options.count || options.quiet);
}

std::uint64_t EstimatedPieces(std::string_view bytes) {
    const std::string_view sample = bytes.substr(0, kSampleBytes);
    const auto breaks = static_cast<std::uint64_t>(
        std::count_if(sample.begin(), sample.end(), [](char c) { return c == '\n' || c == '\r'; }));
    return sample.empty() ? 2 : (breaks + 1) * bytes.size() / sample.size() + 2;
}

std::optional<int> CompareLinesSpilled(const CliOptions& options, const SpilledText& first,
                                       const SpilledText& second, std::FILE* out) {
    const std::uint64_t pieces1 = EstimatedPieces(first.bytes);
    const std::uint64_t pieces2 = EstimatedPieces(second.bytes);
    const std::uint64_t held = std::max(first.bytes.size() + kHeldBytesPerPiece * pieces1,
                                        second.bytes.size() + kHeldBytesPerPiece * pieces2);
    const qint64 room = std::max(
        kLeastBucketBytes,
        MemoryAllowance(options, static_cast<qint64>(first.bytes.size() + second.bytes.size())) -
            kRunBytes);
    const std::uint64_t buckets = std::clamp<std::uint64_t>(
        (held + static_cast<std::uint64_t>(room) - 1) / static_cast<std::uint64_t>(room), 1,
        kMaxBuckets);
    const QByteArray folder = ScratchFolder();
    // The buckets' files, the missing numbers, and a tenth more for lines longer than the sample's.
    const std::uint64_t spilled = first.bytes.size() + second.bytes.size() +
                                  (kRecordBytes + sizeof(std::uint64_t)) * (pieces1 + pieces2);
    CheckRoom(folder, 2 * buckets + 2, spilled + spilled / 10);

    const ByteLines::Form form = options.exact ? ByteLines::Form::Exact : ByteLines::Form::AsLoaded;
    // The report's pass is shown only where the report does not go to the same terminal.
    const bool writing = !options.quiet && !options.count && isatty(fileno(out)) == 0;
    RunProgress progress(writing ? 3 : 2);
    const std::uint64_t total = first.bytes.size() + second.bytes.size();
    progress.Pass("splitting", total);
    Bucketed one, two;
    if (!Split(first, form, folder, buckets, one, progress, 0) ||
        !Split(second, form, folder, buckets, two, progress, first.bytes.size()))
        return std::nullopt;

    progress.Pass("comparing", buckets, false);
    Missing missing1(folder), missing2(folder);
    for (std::uint64_t k = 0; k < buckets; ++k) {
        FindMissing(*one.files[k], *two.files[k], two.counts[k], missing1);
        FindMissing(*two.files[k], *one.files[k], one.counts[k], missing2);
        one.files[k].reset(); // its space is free again
        two.files[k].reset();
        progress.AtStep(k + 1);
    }
    const bool different = missing1.Count() > 0 || missing2.Count() > 0;
    if (options.quiet)
        return different ? 1 : 0;

    if (writing)
        progress.Pass("writing", total);
    else
        progress.Clear();
    ReportOutput report(out);
    const QByteArray name1 = ShownName(options.file1), name2 = ShownName(options.file2);
    WriteSide(options, 1, {name1, name2}, first, missing1, report, progress, 0);
    WriteSide(options, 2, {name2, name1}, second, missing2, report, progress, first.bytes.size());
    report.Flush();
    return different ? 1 : 0;
}
