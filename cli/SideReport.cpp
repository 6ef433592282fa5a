#include "cli/SideReport.h"

#include "cli/LookalikeSinks.h"

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
      lookalikes_(room) {}

ListSink::Style SideReport::Style() const {
    return options_.json ? ListSink::Style::Json : ListSink::Style::Readable;
}

QByteArray SideReport::OtherName() const {
    return NameOf(file_ == 1 ? options_.file2 : options_.file1);
}

QByteArray SideReport::Header() const {
    return HeaderOf(options_, file_, count_);
}

QByteArray SideReport::HeaderOf(const CliOptions& options, int file, qint64 count) {
    const QByteArray own = NameOf(file == 1 ? options.file1 : options.file2);
    const QByteArray other = NameOf(file == 1 ? options.file2 : options.file1);
    const QByteArray number = QByteArray::number(count);
    if (options.mode == CliOptions::Mode::Lines)
        return "--- " + own + ": " + number + (count == 1 ? " line" : " lines") + " not in " +
               other + "\n";
    return "--- " + own + ": " + number + (count == 1 ? " word" : " words") +
           " not supplied by the lines of " + other + "\n";
}

void SideReport::Run(const Pass& pass, ListSink& list, ByteSink& listOut, bool keepMarks) {
    MarkSink marks(marks_);
    JsonLookalikes lookalikes(lookalikes_);
    ReadableLookalikes notes(list, listOut, OtherName());
    BothSinks both(list, marks);
    BothSinks all(both, lookalikes);
    EntrySink* sink = &list;
    if (!options_.json && explain_)
        sink = &notes;
    else if (options_.json && keepMarks)
        sink = explain_ ? static_cast<EntrySink*>(&all) : &both;
    pass(*sink);
    sink->Finish();
    count_ = list.Count();
    kept_ = true;
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
    out.Write("]}");
}
