#include "cli/ResultReport.h"

#include "cli/JsonWriter.h"
#include "cli/ReportEntries.h"

#include <QFileInfo>

#include <span>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

QByteArray Header(CliOptions::Mode mode, const QString& own, const QString& other,
                  qsizetype count) {
    const QString name = QFileInfo(own).fileName();
    const QString otherName = QFileInfo(other).fileName();
    if (mode == CliOptions::Mode::Lines)
        return u"--- %1: %2 %3 not in %4\n"_s.arg(name)
            .arg(count)
            .arg(count == 1 ? u"line"_s : u"lines"_s, otherName)
            .toUtf8();
    return u"--- %1: %2 %3 not supplied by the lines of %4\n"_s.arg(name)
        .arg(count)
        .arg(count == 1 ? u"word"_s : u"words"_s, otherName)
        .toUtf8();
}

bool Write(std::FILE* out, const char* bytes, qsizetype size) {
    return std::fwrite(bytes, 1, static_cast<std::size_t>(size), out) ==
           static_cast<std::size_t>(size);
}

// A side's header and entries, the entries through `buffer` a filling at a time.
bool WriteSide(std::FILE* out, const CliOptions& options, bool first, const Pane& result,
               std::span<char> buffer) {
    const QString& own = first ? options.file1 : options.file2;
    const QString& other = first ? options.file2 : options.file1;
    const QByteArray header =
        Header(options.mode, own, other, ReportEntries::Count(options.mode, result.Text()));
    if (!Write(out, header.constData(), header.size()))
        return false;
    ReportEntries entries(options.mode, result.Text(), first ? '<' : '>');
    while (!entries.AtEnd())
        if (!Write(out, buffer.data(), entries.ConvertInto(buffer)))
            return false;
    return true;
}

void AppendFile(QByteArray& out, const char* key, const Pane& full, const Pane& result) {
    out.append(",\"").append(key).append("\":{\"result\":");
    JsonWriter::AppendString(out, result.Text());
    out.append(",\"marks\":");
    JsonWriter::AppendRanges(out, full.Colours().RangesOf(kRed));
    out.append('}');
}

} // namespace

bool WriteReadableReport(std::FILE* out, const CliOptions& options, const Panes& panes) {
    std::vector<char> buffer(std::size_t{1} << 20);
    return WriteSide(out, options, true, panes.RichTextBox3, buffer) &&
           WriteSide(out, options, false, panes.RichTextBox4, buffer);
}

QByteArray JsonReport(const CliOptions& options, const Panes& panes) {
    QByteArray out =
        options.mode == CliOptions::Mode::Lines ? R"({"mode":"lines")" : R"({"mode":"words")";
    AppendFile(out, "file1", panes.RichTextBox1, panes.RichTextBox3);
    AppendFile(out, "file2", panes.RichTextBox2, panes.RichTextBox4);
    out.append("}\n");
    return out;
}
