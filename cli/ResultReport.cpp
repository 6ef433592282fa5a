#include "cli/ResultReport.h"

#include "cli/JsonWriter.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

// The entries of a result pane. The line comparison ends each entry with a CR (and CR LF text
// leaves an LF in front of it); the word comparison puts CR LF before each word.
QList<QStringView> Entries(CliOptions::Mode mode, QStringView result) {
    if (result.isEmpty())
        return {};
    if (mode == CliOptions::Mode::Words)
        return result.mid(2).split(u"\r\n");
    QList<QStringView> entries = result.chopped(1).split(u'\r');
    for (QStringView& entry : entries)
        if (entry.startsWith(u'\n'))
            entry = entry.mid(1);
    return entries;
}

QString Header(CliOptions::Mode mode, const QString& own, const QString& other, qsizetype count) {
    const QString name = QFileInfo(own).fileName();
    const QString otherName = QFileInfo(other).fileName();
    if (mode == CliOptions::Mode::Lines)
        return u"--- %1: %2 %3 not in %4\n"_s.arg(name).arg(count).arg(
            count == 1 ? u"line"_s : u"lines"_s, otherName);
    return u"--- %1: %2 %3 not supplied by the lines of %4\n"_s.arg(name).arg(count).arg(
        count == 1 ? u"word"_s : u"words"_s, otherName);
}

void AppendSide(QByteArray& out, const CliOptions& options, bool first, const Pane& result) {
    const QList<QStringView> entries = Entries(options.mode, result.Text());
    out.append(Header(options.mode, first ? options.file1 : options.file2,
                      first ? options.file2 : options.file1, entries.size())
                   .toUtf8());
    for (QStringView entry : entries)
        out.append(first ? "< " : "> ").append(entry.toUtf8()).append('\n');
}

void AppendFile(QByteArray& out, const char* key, const Pane& full, const Pane& result) {
    out.append(",\"").append(key).append("\":{\"result\":");
    JsonWriter::AppendString(out, result.Text());
    out.append(",\"marks\":");
    JsonWriter::AppendRanges(out, full.Colours().RangesOf(kRed));
    out.append('}');
}

} // namespace

QByteArray ReadableReport(const CliOptions& options, const Panes& panes) {
    QByteArray out;
    AppendSide(out, options, true, panes.RichTextBox3);
    AppendSide(out, options, false, panes.RichTextBox4);
    return out;
}

QByteArray JsonReport(const CliOptions& options, const Panes& panes) {
    QByteArray out =
        options.mode == CliOptions::Mode::Lines ? R"({"mode":"lines")" : R"({"mode":"words")";
    AppendFile(out, "file1", panes.RichTextBox1, panes.RichTextBox3);
    AppendFile(out, "file2", panes.RichTextBox2, panes.RichTextBox4);
    out.append("}\n");
    return out;
}
