#include "cli/CliComparison.h"

#include "cli/ByteLineComparison.h"
#include "cli/HeldComparison.h"
#include "cli/ShownName.h"
#include "cli/SideReport.h"
#include "cli/StreamedComparison.h"
#include "cli/TwoTexts.h"
#include "compare/RuleError.h"
#include "platform/Failure.h"

#include <new>
#include <optional>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

constexpr int kSame = 0;
constexpr int kDifferent = 1;
constexpr int kTrouble = 2;

// Of the memory a comparison may take (MemoryAllowance), the run itself, its buffers and its
// threads, takes about the first kRunBytes (from 10 MB for small files to 21 MB for a million lines
// a side beside what it holds), and report bytes kept for their turn at most three quarters of
// what is left, for what allocation wastes.
constexpr qint64 kRunBytes = qint64{32} << 20;
// Room for report bytes that wait for their turn, at least.
constexpr qint64 kLeastKeptRoom = qint64{16} << 20;

void Say(const QByteArray& path, const QString& description) {
    if (path.isEmpty())
        std::fprintf(stderr, "tarnwick-cli: %s\n", description.toUtf8().constData());
    else
        std::fprintf(stderr, "tarnwick-cli: %s: %s\n", path.constData(),
                     description.toUtf8().constData());
}

int Compare(const CliOptions& asked, InputText& one, InputText& two, std::FILE* out) {
    // Without entries to show, look-alikes and line numbers are not worked out.
    CliOptions options = asked;
    if (options.count || options.quiet) {
        options.explain = false;
        options.lineNumbers = false;
    }
    const qint64 files = one.FileBytes() + two.FileBytes();
    const qint64 allowed = MemoryAllowance(options, files) - kRunBytes;
    // Both texts are held when that leaves room; otherwise they are read again for each pass, and
    // the streamed comparison holds at most about twice the files' size.
    const qint64 held = HeldBytes(options, one, two);
    const bool holdBoth = held + kLeastKeptRoom <= allowed;
    const qint64 least = options.memoryBytes ? 0 : kLeastKeptRoom;
    KeptRoom room(std::max(least, (holdBoth ? allowed - held : allowed - 2 * files) / 4 * 3));
    if (options.quiet) {
        const bool different = holdBoth ? AnyDifferenceHeld(options, one, two, room)
                                        : AnyDifferenceStreamed(options, one, two);
        return different ? kDifferent : kSame;
    }
    ReportOutput report(out);
    const QByteArray name1 = ShownName(options.file1), name2 = ShownName(options.file2);
    SideReport first(options, 1, {name1, name2}, room);
    SideReport second(options, 2, {name2, name1}, room);
    if (holdBoth) {
        first.PassesRunAgainCheaply();
        second.PassesRunAgainCheaply();
    } else {
        first.WithoutLookalikes();
        second.WithoutLookalikes();
    }
    const bool lines = options.mode == CliOptions::Mode::Lines;
    if (options.json)
        report.Write(lines ? R"({"mode":"lines")" : R"({"mode":"words")");
    // Look-alikes are only looked for in held texts, and only while that fits.
    bool lookalikesSearched = !options.explain;
    if (holdBoth)
        lookalikesSearched = CompareHeld(options, one, two, first, second, report, room);
    else
        CompareStreamed(options, one, two, first, second, report);
    if (!lookalikesSearched)
        Say({}, u"look-alikes were not searched for: that would take more memory than the tool "
                u"may use"_s);
    if (options.json)
        report.Write("}\n");
    report.Flush();
    return first.HasEntries() || second.HasEntries() ? kDifferent : kSame;
}

// Runs `compare`; whatever goes wrong in it ends the report where it stands, with status 2.
template <typename Compare> int Guarded(Compare&& compare) {
    try {
        return compare();
    } catch (const Failure& f) {
        Say({}, f.Description());
    } catch (const std::bad_alloc&) {
        Say({}, u"out of memory"_s);
    } catch (const std::length_error& e) {
        Say({}, QString::fromUtf8(e.what()));
    } catch (const compare::RuleError& e) { // an expression that could not be matched
        Say({}, QString::fromUtf8(e.what()));
    }
    return kTrouble;
}

} // namespace

int RunCliComparison(const CliOptions& options, std::FILE* out) {
    std::optional<int> asBytes;
    if (const int status = Guarded([&] {
            asBytes = CompareLinesAsBytes(options, out);
            return 0;
        });
        status != 0)
        return status;
    return asBytes ? *asBytes : RunGeneralComparison(options, out);
}

int RunGeneralComparison(const CliOptions& options, std::FILE* out) {
    TwoTexts texts(options);
    QString failure;
    if (const int failed = texts.Wait(failure); failed >= 0) {
        Say(failed == 0 ? options.file1 : options.file2, failure);
        return kTrouble;
    }
    return Guarded([&] { return Compare(options, texts.Text(0), texts.Text(1), out); });
}
