#include "cli/SideReport.h"

#include "cli/LookalikeSinks.h"
#include "cli/RuleMatchSinks.h"

namespace {

// The name a header shows: the last part of the path, as the system spells it.
QByteArray NameOf(const QByteArray& path) {
    return path.mid(path.lastIndexOf('/') + 1);
}

// Writes what `kept` holds, or, where the room ran out before it was all kept, runs the pass
// again into a Sink that writes to `out`; then lets the kept bytes go.
template <typename Sink> void WriteKeptOrAgain(KeptBytes& kept, const Pass& pass, ByteSink& out) {
    if (kept.Complete()) {
        kept.WriteTo(out);
    } else {
        Sink sink(out);
        pass(sink);
        sink.Finish();
    }
    kept.Release();
}

} // namespace

SideReport::SideReport(const CliOptions& options, int file, KeptRoom& room)
    : options_(options), file_(file), explain_(options.explain), list_(room), marks_(room),
      lookalikes_(room), matches_(room) {}

ListSink::Style SideReport::Style() const {
    return options_.json ? ListSink::Style::Json : ListSink::Style::Readable;
}

QByteArray SideReport::OtherName() const {
    return NameOf(file_ == 1 ? options_.file2 : options_.file1);
}

QByteArray SideReport::Header() const {
    const QByteArray own = NameOf(file_ == 1 ? options_.file1 : options_.file2);
    const QByteArray other = OtherName();
    const QByteArray count = QByteArray::number(count_);
    if (options_.mode == CliOptions::Mode::Lines)
        return "--- " + own + ": " + count + (count_ == 1 ? " line" : " lines") + " not in " +
               other + "\n";
    return "--- " + own + ": " + count + (count_ == 1 ? " word" : " words") +
           " not supplied by the lines of " + other + "\n";
}

QByteArray SideReport::MatchesHeader() const {
    const QByteArray own = NameOf(file_ == 1 ? options_.file1 : options_.file2);
    const bool lines = options_.mode == CliOptions::Mode::Lines;
    const char* what = lines ? (matchedCount_ == 1 ? " line" : " lines")
                             : (matchedCount_ == 1 ? " word" : " words");
    return "--- " + own + ": " + QByteArray::number(matchedCount_) + what +
           (matchedCount_ == 1 ? " matches " : " match ") + (lines ? "lines" : "words") + " of " +
           OtherName() + " only by the rules\n";
}

bool SideReport::MatchesSection() const {
    return !options_.json && options_.explain && options_.rules.Any();
}

void SideReport::Run(const Pass& pass, ListSink& list, ByteSink& listOut, bool keepMarks) {
    MarkSink marks(marks_);
    JsonLookalikes lookalikes(lookalikes_);
    JsonMatches jsonMatches(matches_);
    ReadableLookalikes notes(list, listOut, OtherName());
    ReadableMatches section(options_.mode, matches_, OtherName());
    BothSinks both(list, marks);
    BothSinks all(both, lookalikes);
    EntrySink* sink = &list;
    if (!options_.json && explain_)
        sink = &notes;
    else if (options_.json && keepMarks)
        sink = explain_ ? static_cast<EntrySink*>(&all) : &both;
    const bool keepMatches = keepMarks && (options_.json ? options_.rules.Any() : MatchesSection());
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
}

void SideReport::WriteMatchesSection(const Pass& pass, ByteSink& out) {
    out.Write(MatchesHeader());
    if (matches_.Complete()) {
        matches_.WriteTo(out);
    } else {
        ReadableMatches section(options_.mode, out, OtherName());
        pass(section);
        section.Finish();
    }
    matches_.Release();
}

void SideReport::Keep(const Pass& pass) {
    ListSink list(Style(), options_.mode, Prefix(), list_);
    Run(pass, list, list_, true);
}

void SideReport::Write(const Pass& pass, ByteSink& out) {
    if (!options_.json) {
        if (!kept_)
            Keep(pass); // the header needs the count
        out.Write(Header());
        if (list_.Complete()) {
            list_.WriteTo(out);
        } else {
            ListSink list(Style(), options_.mode, Prefix(), out);
            Run(pass, list, out, false);
        }
        list_.Release();
        if (MatchesSection())
            WriteMatchesSection(pass, out);
        return;
    }
    out.Write(file_ == 1 ? ",\"file1\":{\"result\":\"" : ",\"file2\":{\"result\":\"");
    if (kept_ && list_.Complete()) {
        list_.WriteTo(out);
    } else {
        // The result goes out as it is made; its marks wait, for they come after it.
        ListSink list(Style(), options_.mode, Prefix(), out);
        Run(pass, list, out, !kept_);
    }
    list_.Release();
    out.Write("\",\"marks\":[");
    WriteKeptOrAgain<MarkSink>(marks_, pass, out);
    if (explain_) {
        out.Write("],\"lookalikes\":[");
        WriteKeptOrAgain<JsonLookalikes>(lookalikes_, pass, out);
    }
    if (options_.rules.Any()) {
        out.Write("],\"matched_by_rule\":[");
        WriteKeptOrAgain<JsonMatches>(matches_, pass, out);
    }
    out.Write("]}");
}
