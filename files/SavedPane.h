#pragma once

#include "files/TextFileWriter.h"
#include "platform/Pane.h"
#include "platform/ResultList.h"
#include "platform/TextFileForm.h"

#include <QString>

#include <atomic>
#include <memory>

// The forms a pane can be saved in, as the save dialog offers them.
enum class SaveFormat {
    Text,              // as the text's file held it
    CsvWithLineNumbers // each line, or each entry of a list, with where it stands
};

// What a save writes, taken from a pane on the window's thread: it shares the pane's text, or
// its list, and can be written beside the window while the pane goes on.
//
// As text:
// - a full text that is still its file's own goes back as the file held it: every line break as
//   it was there, in UTF-8 with the byte-order mark it had when the file was UTF-8;
// - an edited or typed text gets its file's line break (the most common one, for a file that
//   mixed them), or the system's for typed text;
// - a list is one entry a line, each ended by its file's line break;
// - the CR that a load appends to a text is never written.
// As CSV, in UTF-8 without a byte-order mark, records ended by CR LF (RFC 4180): "line,text" and
// each line of a text with its number, or for a list each entry with the number of its line in
// the text it came from, and for a list of words its place in the line: "line,word,text".
struct SavedPane {
    QString text;                             // when the pane holds no list
    std::shared_ptr<const ResultList> list;   // the list it spells out, if it does
    std::shared_ptr<const TextFileForm> form; // how the text's file held it; none when typed
    bool asInFile = false;                    // the text is its file's own, untouched

    static SavedPane Of(const Pane& pane);
    // How many units a writing goes through, for its progress.
    qsizetype Length() const { return list ? list->Source().size() : text.size(); }
};

// The encoding a pane is written in as `format`.
TextFileEncoding EncodingFor(const SavedPane& pane, SaveFormat format);

// Writes the pane to `file` as `format`; `done` counts the units gone through. May run on any
// thread. Throws Failure.
void WriteSavedPane(const SavedPane& pane, SaveFormat format, TextFileWriter& file,
                    std::atomic<qsizetype>& done);
