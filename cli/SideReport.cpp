#include "cli/SideReport.h"

namespace {

// The name a header shows: the last part of the path, as the system spells it.
QByteArray NameOf(const QByteArray& path) {
    return path.mid(path.lastIndexOf('/') + 1);
}

} // namespace

SideReport::SideReport(const CliOptions& options, int file, KeptRoom& room)
    : options_(options), file_(file), list_(room), marks_(room) {}

ListSink::Style SideReport::Style() const {
    return options_.json ? ListSink::Style::Json : ListSink::Style::Readable;
}

QByteArray SideReport::Header() const {
    const QByteArray own = NameOf(file_ == 1 ? options_.file1 : options_.file2);
    const QByteArray other = NameOf(file_ == 1 ? options_.file2 : options_.file1);
    const QByteArray count = QByteArray::number(count_);
    if (options_.mode == CliOptions::Mode::Lines)
        return "--- " + own + ": " + count + (count_ == 1 ? " line" : " lines") + " not in " +
               other + "\n";
    return "--- " + own + ": " + count + (count_ == 1 ? " word" : " words") +
           " not supplied by the lines of " + other + "\n";
}

void SideReport::Keep(const Pass& pass) {
    ListSink list(Style(), options_.mode, Prefix(), list_);
    MarkSink marks(marks_);
    BothSinks both(list, marks);
    EntrySink& sink = options_.json ? static_cast<EntrySink&>(both) : list;
    pass(sink);
    sink.Finish();
    count_ = list.Count();
    kept_ = true;
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
            pass(list);
            list.Finish();
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
        MarkSink marks(marks_);
        BothSinks both(list, marks);
        EntrySink& sink = kept_ ? static_cast<EntrySink&>(list) : both;
        pass(sink);
        sink.Finish();
        count_ = list.Count();
        kept_ = true;
    }
    list_.Release();
    out.Write("\",\"marks\":[");
    if (marks_.Complete()) {
        marks_.WriteTo(out);
    } else {
        MarkSink marks(out);
        pass(marks);
        marks.Finish();
    }
    marks_.Release();
    out.Write("]}");
}
