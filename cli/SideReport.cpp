#include "cli/SideReport.h"

#include "cli/JsonEntries.h"
#include "cli/JsonResult.h"
#include "cli/LookalikeSinks.h"
#include "cli/MarkSink.h"
#include "cli/NumberedList.h"
#include "cli/RuleMatchSinks.h"

namespace {

// Writes what `kept` holds, or, where it was not kept or the room ran out before it was all kept,
// runs the pass again into the sink `make(out)` gives; then lets the kept bytes go.
template <typename Make>
void WriteKeptOrAgain(KeptBytes& kept, bool wasKept, const Pass& pass, ByteSink& out, Make make) {
    if (wasKept && kept.Complete()) {
        kept.WriteTo(out);
    } else {
        auto sink = make(out);
        pass(sink);
        sink.Finish();
    }
    kept.Release();
}

// Counts entries, and writes nothing.
class EntryCount final : public EntryList {
public:
    void Entry(std::u16string_view, std::u16string_view, std::size_t, std::size_t,
               EntryLine) override {
        ++count_;
    }
    void Finish() override {}
    qint64 Count() const override { return count_; }

private:
    qint64 count_ = 0;
};

// Counts counted lines, and writes nothing.
class CountedCount final : public CountSink {
public:
    void Counted(const CountedLine&) override { ++count_; }
    void Finish() override {}
};

} // namespace

SideReport::SideReport(const CliOptions& options, int file, SideNames names, KeptRoom& room)
    : options_(options), file_(file), names_(std::move(names)), room_(room),
      explain_(options.explain), list_(room), marks_(room), lookalikes_(room), entries_(room),
      matches_(room) {}

QByteArray SideReport::Header() const {
    return HeaderOf(options_.mode, count_, names_);
}

QByteArray SideReport::HeaderOf(CliOptions::Mode mode, qint64 count, const SideNames& names) {
    const QByteArray number = QByteArray::number(count);
    if (mode == CliOptions::Mode::Lines)
        return "--- " + names.own + ": " + number + (count == 1 ? " line" : " lines") + " not in " +
               names.other + "\n";
    return "--- " + names.own + ": " + number + (count == 1 ? " word" : " words") +
           " not supplied by the lines of " + names.other + "\n";
}

QByteArray SideReport::CountsHeader() const {
    return CountsHeaderOf(counted_, names_);
}

QByteArray SideReport::CountsHeaderOf(qint64 count, const SideNames& names) {
    return "--- " + names.own + ": " + QByteArray::number(count) +
           (count == 1 ? " line" : " lines") + " counted differently in " + names.other + "\n";
}

QByteArray SideReport::MatchesHeader() const {
    const bool lines = options_.mode == CliOptions::Mode::Lines;
    const char* what = lines ? (matchedCount_ == 1 ? " line" : " lines")
                             : (matchedCount_ == 1 ? " word" : " words");
    return "--- " + names_.own + ": " + QByteArray::number(matchedCount_) + what +
           (matchedCount_ == 1 ? " matches " : " match ") + (lines ? "lines" : "words") + " of " +
           names_.other + " only by the rules\n";
}

bool SideReport::MatchesSection() const {
    return !options_.json && !options_.count && options_.explain && options_.rules.Any();
}

std::unique_ptr<EntryList> SideReport::List(ByteSink& out) const {
    if (options_.count)
        return std::make_unique<EntryCount>();
    if (options_.json)
        return std::make_unique<JsonResult>(out);
    if (options_.lineNumbers)
        return std::make_unique<NumberedList>(options_.mode, Prefix(), out);
    return std::make_unique<ListSink>(options_.mode, Prefix(), out);
}

void SideReport::Run(const Pass& pass, EntryList& list, ByteSink& listOut, bool keepRest) {
    MarkSink marks(marks_);
    JsonLookalikes lookalikes(lookalikes_);
    JsonEntries entries(options_.mode, entries_);
    JsonMatches jsonMatches(matches_);
    ReadableLookalikes notes(list, listOut, names_.other);
    ReadableMatches section(options_.mode, matches_, names_.other);
    BothSinks withMarks(list, marks);
    BothSinks withEntries(withMarks, entries);
    BothSinks all(withEntries, lookalikes);
    EntrySink* sink = &list;
    if (!options_.json && explain_ && !options_.count)
        sink = &notes;
    else if (options_.json && keepRest)
        sink = explain_ ? static_cast<EntrySink*>(&all) : &withEntries;
    const bool keepMatches = keepRest && (options_.json ? options_.rules.Any() : MatchesSection());
    EntrySink& matches = options_.json ? static_cast<EntrySink&>(jsonMatches) : section;
    BothSinks withMatches(*sink, matches);
    if (keepMatches)
        sink = &withMatches;
    pass(*sink);
    sink->Finish();
    count_ = list.Count();
    if (keepMatches && !options_.json)
        matchedCount_ = section.Count();
    kept_ = true;
    restKept_ = options_.json && keepRest;
}

void SideReport::WriteMatchesSection(const Pass& pass, ByteSink& out) {
    out.Write(MatchesHeader());
    if (matches_.Complete()) {
        matches_.WriteTo(out);
    } else {
        ReadableMatches section(options_.mode, out, names_.other);
        pass(section);
        section.Finish();
    }
    matches_.Release();
}

void SideReport::Keep(const Pass& pass) {
    if (options_.json && cheap_)
        return;
    const std::unique_ptr<EntryList> list = List(list_);
    Run(pass, *list, list_, true);
}

void SideReport::Write(const Pass& pass, ByteSink& out, const CountPass& counted) {
    if (options_.count)
        WriteCount(pass, out, counted);
    else if (options_.json)
        WriteJson(pass, out, counted);
    else
        WriteReadable(pass, out, counted);
}

void SideReport::WriteCount(const Pass& pass, ByteSink& out, const CountPass& counted) {
    if (!kept_)
        Keep(pass);
    if (counted) {
        CountedCount lines;
        counted(lines);
        counted_ = lines.Count();
    }
    out.Write(QByteArray::number(count_ + counted_) + ' ' + names_.own + '\n');
}

void SideReport::WriteReadable(const Pass& pass, ByteSink& out, const CountPass& counted) {
    // What the rules matched has a section of its own, made in the list's pass and kept.
    const bool streamed = !kept_ && knownCount_ && !MatchesSection();
    if (streamed)
        count_ = *knownCount_;
    else if (!kept_)
        Keep(pass); // the header needs the count
    out.Write(Header());
    if (streamed) {
        const std::unique_ptr<EntryList> list = List(out);
        Run(pass, *list, out, false);
    } else if (list_.Complete()) {
        list_.WriteTo(out);
    } else {
        const std::unique_ptr<EntryList> list = List(out);
        Run(pass, *list, out, false);
    }
    list_.Release();
    if (MatchesSection())
        WriteMatchesSection(pass, out);
    if (!counted)
        return;
    const auto countsTo = [&](ByteSink& to) {
        return ReadableCounts(Prefix(), options_.lineNumbers, names_.own, names_.other, to);
    };
    KeptBytes kept(room_); // the header needs the count
    ReadableCounts keeping = countsTo(kept);
    counted(keeping);
    keeping.Finish();
    counted_ = keeping.Count();
    out.Write(CountsHeader());
    if (kept.Complete()) {
        kept.WriteTo(out);
    } else {
        ReadableCounts again = countsTo(out);
        counted(again);
        again.Finish();
    }
}

void SideReport::WriteJson(const Pass& pass, ByteSink& out, const CountPass& counted) {
    out.Write(file_ == 1 ? ",\"file1\":{\"result\":\"" : ",\"file2\":{\"result\":\"");
    if (kept_ && list_.Complete()) {
        list_.WriteTo(out);
    } else {
        // The result goes out as it is made; its marks and entries wait, for they come after it.
        const std::unique_ptr<EntryList> list = List(out);
        Run(pass, *list, out, !kept_ && !cheap_);
    }
    list_.Release();
    out.Write("\",\"marks\":[");
    WriteKeptOrAgain(marks_, restKept_, pass, out, [](ByteSink& to) { return MarkSink(to); });
    if (explain_) {
        out.Write("],\"lookalikes\":[");
        WriteKeptOrAgain(lookalikes_, restKept_, pass, out,
                         [](ByteSink& to) { return JsonLookalikes(to); });
    }
    out.Write("],\"entries\":[");
    WriteKeptOrAgain(entries_, restKept_, pass, out,
                     [&](ByteSink& to) { return JsonEntries(options_.mode, to); });
    if (counted) {
        out.Write("],\"counts\":[");
        JsonCounts lines(out);
        counted(lines);
        lines.Finish();
        counted_ = lines.Count();
    }
    if (options_.rules.Any()) {
        out.Write("],\"matched_by_rule\":[");
        WriteKeptOrAgain(matches_, restKept_, pass, out,
                         [](ByteSink& to) { return JsonMatches(to); });
    }
    out.Write("]}");
}
