#include "cli/ResultReport.h"

#include "cli/JsonWriter.h"
#include "cli/ReportEntries.h"

#include <QFileInfo>

#include <future>
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

bool Write(std::FILE* out, const QByteArray& bytes) {
    return std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), out) ==
           static_cast<std::size_t>(bytes.size());
}

// Converting a word comparison's list takes as long as writing it; the pieces are made two at a
// time, one on another thread, and written in order.
constexpr qsizetype kPieceUnits = qsizetype{1} << 21;

bool WriteEntries(std::FILE* out, CliOptions::Mode mode, QStringView result, char prefix) {
    const std::vector<QStringView> pieces = ReportEntries::Pieces(mode, result, kPieceUnits);
    const auto convert = [&](std::size_t i) {
        return ReportEntries::Convert(mode, pieces[i], prefix);
    };
    for (std::size_t i = 0; i < pieces.size(); i += 2) {
        std::future<QByteArray> next;
        if (i + 1 < pieces.size())
            next = std::async(std::launch::async, convert, i + 1);
        const bool written = Write(out, convert(i));
        const QByteArray nextBytes = next.valid() ? next.get() : QByteArray();
        if (!written || !Write(out, nextBytes))
            return false;
    }
    return true;
}

bool WriteSide(std::FILE* out, const CliOptions& options, bool first, const Pane& result) {
    const QString& own = first ? options.file1 : options.file2;
    const QString& other = first ? options.file2 : options.file1;
    const QByteArray header =
        Header(options.mode, own, other, ReportEntries::Count(options.mode, result.Text()));
    return Write(out, header) && WriteEntries(out, options.mode, result.Text(), first ? '<' : '>');
}

void AppendFile(QByteArray& out, const char* key, const Pane& full, const Pane& result) {
    out.append(",\"").append(key).append("\":{\"result\":");
    JsonWriter::AppendString(out, result.Text());
    out.append(",\"marks\":");
    JsonWriter::AppendRanges(out, full.RangesOf(kRed));
    out.append('}');
}

} // namespace

bool WriteReadableReport(std::FILE* out, const CliOptions& options, const Panes& panes) {
    return WriteSide(out, options, true, panes.RichTextBox3) &&
           WriteSide(out, options, false, panes.RichTextBox4);
}

QByteArray JsonReport(const CliOptions& options, const Panes& panes) {
    QByteArray out =
        options.mode == CliOptions::Mode::Lines ? R"({"mode":"lines")" : R"({"mode":"words")";
    AppendFile(out, "file1", panes.RichTextBox1, panes.RichTextBox3);
    AppendFile(out, "file2", panes.RichTextBox2, panes.RichTextBox4);
    out.append("}\n");
    return out;
}
