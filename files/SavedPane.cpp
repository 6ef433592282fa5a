#include "files/SavedPane.h"

#include "files/CsvField.h"
#include "files/ListedEntries.h"
#include "files/SavedLines.h"

namespace {

// Gathers what is written into pieces of a good size for the writer: a list of millions of short
// entries is not encoded and written an entry at a time.
class Output {
public:
    Output(TextFileWriter& file, std::atomic<qsizetype>& done) : file_(file), done_(done) {
        buffer_.reserve(kPieceUnits);
    }
    QString& Buffer() { return buffer_; }
    void Append(QStringView units) {
        if (units.size() >= kPieceUnits) {
            Flush();
            file_.Write(units);
            return;
        }
        buffer_.append(units);
    }
    // After each line or entry: what was gathered goes once there is enough of it.
    void Passed(qsizetype sourceAt) {
        if (buffer_.size() >= kPieceUnits)
            Flush();
        done_ = sourceAt;
    }
    void Flush() {
        file_.Write(buffer_);
        buffer_.clear();
    }

private:
    static constexpr qsizetype kPieceUnits = qsizetype{1} << 16;

    TextFileWriter& file_;
    std::atomic<qsizetype>& done_;
    QString buffer_;
};

LineBreak LineBreakOf(const SavedPane& pane) {
    return pane.form ? pane.form->lineBreak : kSystemLineBreak;
}

// Where a line of a text ends in it, for the progress.
qsizetype EndIn(QStringView text, QStringView line) {
    return line.data() - text.data() + line.size();
}

void WriteText(const SavedPane& pane, Output& out) {
    const QStringView text = pane.text;
    const TextFileForm* form = pane.form.get();
    // A text still as its file had it holds each of the file's breaks, in order, as a CR LF.
    const LineBreakKinds* eachBreak =
        pane.asInFile && form && form->mixedBreaks ? &form->eachBreak : nullptr;
    const LineBreak lineBreak = LineBreakOf(pane);
    qsizetype breaks = 0;
    ForEachSavedLine(text, [&](QStringView line, bool broken) {
        out.Append(line);
        if (broken) {
            const bool noted = eachBreak && breaks < eachBreak->Count();
            out.Append(LineBreakUnits(noted ? eachBreak->At(breaks) : lineBreak));
            ++breaks;
        }
        out.Passed(EndIn(text, line));
    });
}

// An entry holds no line break of its own, but for a text edited into an unusual shape: any it
// holds is written as the file's.
void AppendWithBreaks(QStringView units, QStringView lineBreak, Output& out) {
    ForEachLineOf(units, [&](QStringView line, bool broken) {
        out.Append(line);
        if (broken)
            out.Append(lineBreak);
    });
}

void WriteList(const SavedPane& pane, Output& out) {
    const QStringView lineBreak = LineBreakUnits(LineBreakOf(pane));
    const QStringView source = pane.list->Source();
    ForEachListedEntry(*pane.list, [&](const ListedEntry& entry) {
        AppendWithBreaks(entry.units, lineBreak, out);
        out.Append(lineBreak);
        out.Passed(EndIn(source, entry.units));
    });
}

void AppendNumberField(qsizetype number, QString& out) {
    out.append(QString::number(number));
    out.append(u',');
}

void WriteTextCsv(const SavedPane& pane, Output& out) {
    out.Append(u"line,text\r\n");
    qsizetype number = 1;
    ForEachSavedLine(pane.text, [&](QStringView line, bool) {
        AppendNumberField(number++, out.Buffer());
        AppendCsvField(line, out.Buffer());
        out.Append(kCsvRecordEnd);
        out.Passed(EndIn(pane.text, line));
    });
}

void WriteListCsv(const SavedPane& pane, Output& out) {
    const bool words = pane.list->ListForm() == ResultList::Form::Words;
    out.Append(words ? u"line,word,text\r\n" : u"line,text\r\n");
    const QStringView source = pane.list->Source();
    ForEachListedEntry(*pane.list, [&](const ListedEntry& entry) {
        AppendNumberField(entry.line, out.Buffer());
        if (words)
            AppendNumberField(entry.word, out.Buffer());
        AppendCsvField(entry.units, out.Buffer());
        out.Append(kCsvRecordEnd);
        out.Passed(EndIn(source, entry.units));
    });
}

} // namespace

SavedPane SavedPane::Of(const Pane& pane) {
    SavedPane saved;
    saved.list = pane.Listed();
    if (!saved.list)
        saved.text = pane.Text(); // shared with the pane, not copied
    saved.form = pane.FileForm();
    saved.asInFile = pane.AsInFile();
    return saved;
}

TextFileEncoding EncodingFor(const SavedPane& pane, SaveFormat format) {
    if (format == SaveFormat::CsvWithLineNumbers)
        return TextFileEncoding::Utf8;
    if (!pane.form || pane.form->encoding != TextFileForm::Encoding::Utf8)
        return TextFileEncoding::System;
    return pane.form->byteOrderMark ? TextFileEncoding::Utf8WithBom : TextFileEncoding::Utf8;
}

void WriteSavedPane(const SavedPane& pane, SaveFormat format, TextFileWriter& file,
                    std::atomic<qsizetype>& done) {
    Output out(file, done);
    const bool csv = format == SaveFormat::CsvWithLineNumbers;
    if (pane.list)
        csv ? WriteListCsv(pane, out) : WriteList(pane, out);
    else
        csv ? WriteTextCsv(pane, out) : WriteText(pane, out);
    out.Flush();
    done = pane.Length();
}
