#include "cli/ResultReport.h"

#include "cli/JsonWriter.h"

#include <QFileInfo>

#include <future>

using namespace Qt::StringLiterals;

namespace {

constexpr char kCR = '\r';
constexpr char kLF = '\n';

// How many entries a result pane holds. The line comparison ends each entry with a CR (pieces hold
// none); the word comparison puts CR LF before each word (words hold no CR LF).
qsizetype EntryCount(CliOptions::Mode mode, QStringView result) {
    const QChar* units = result.data();
    qsizetype count = 0;
    if (mode == CliOptions::Mode::Lines) {
        for (qsizetype i = 0; i < result.size(); ++i)
            count += units[i] == u'\r';
        return count;
    }
    for (qsizetype i = 1; i < result.size(); ++i)
        count += (units[i] == u'\n') & (units[i - 1] == u'\r');
    return count;
}

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

// One entry a line, each behind `prefix`, made in one pass over the result's UTF-8: the text is
// long (a word comparison of shifted files lists millions of words), so entries are not split
// out one by one. A line entry loses the LF that cutting CR LF text at CR left at its front.
QByteArray Entries(CliOptions::Mode mode, QStringView result, qsizetype entries, char prefix) {
    const QByteArray utf8 = result.toUtf8();
    QByteArray out(utf8.size() + 3 * entries + 3, Qt::Uninitialized);
    const char* in = utf8.constData();
    const char* const end = in + utf8.size();
    char* write = out.data();
    const auto startEntry = [&] {
        *write++ = prefix;
        *write++ = ' ';
    };
    if (mode == CliOptions::Mode::Words) {
        in += in != end ? 2 : 0; // the CR LF before the first word
        if (entries > 0)
            startEntry();
        for (; in != end; ++in) {
            if (*in == kCR && in + 1 != end && in[1] == kLF) {
                *write++ = kLF;
                startEntry();
                ++in;
            } else {
                *write++ = *in;
            }
        }
        if (entries > 0)
            *write++ = kLF;
    } else {
        bool atEntryStart = true;
        for (; in != end; ++in) {
            if (atEntryStart) {
                startEntry();
                atEntryStart = false;
                if (*in == kLF)
                    continue;
            }
            if (*in == kCR) {
                *write++ = kLF;
                atEntryStart = true;
            } else {
                *write++ = *in;
            }
        }
    }
    out.truncate(write - out.constData());
    return out;
}

// A side's header and entries, as two pieces to write one after the other.
std::pair<QByteArray, QByteArray> Side(const CliOptions& options, bool first, const Pane& result) {
    const QString& own = first ? options.file1 : options.file2;
    const QString& other = first ? options.file2 : options.file1;
    const qsizetype entries = EntryCount(options.mode, result.Text());
    return {Header(options.mode, own, other, entries),
            Entries(options.mode, result.Text(), entries, first ? '<' : '>')};
}

bool Write(std::FILE* out, const QByteArray& bytes) {
    return std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), out) ==
           static_cast<std::size_t>(bytes.size());
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
    // The two sides are made side by side, each only reading its own pane, and written in turn.
    auto second = std::async(std::launch::async, Side, std::cref(options), false,
                             std::cref(panes.RichTextBox4));
    const auto [header1, entries1] = Side(options, true, panes.RichTextBox3);
    bool written = Write(out, header1) && Write(out, entries1);
    const auto [header2, entries2] = second.get();
    return written && Write(out, header2) && Write(out, entries2);
}

QByteArray JsonReport(const CliOptions& options, const Panes& panes) {
    QByteArray out =
        options.mode == CliOptions::Mode::Lines ? R"({"mode":"lines")" : R"({"mode":"words")";
    AppendFile(out, "file1", panes.RichTextBox1, panes.RichTextBox3);
    AppendFile(out, "file2", panes.RichTextBox2, panes.RichTextBox4);
    out.append("}\n");
    return out;
}
