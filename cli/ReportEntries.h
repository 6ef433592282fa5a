#pragma once

#include "cli/CliOptions.h"

#include <QByteArray>
#include <QStringEncoder>
#include <QStringView>

#include <span>
#include <vector>

// A result pane's entries as the readable report prints them: "<prefix> <entry>\n" each, in UTF-8.
// The line comparison ends each entry with a CR, after which an LF of the text's CR LF may begin
// the next one and is dropped; the word comparison puts CR LF before each word, and its words
// hold no CR LF. A word comparison of shifted files lists millions of words, so the entries are
// converted a buffer at a time rather than split out one by one. A result too long to hold whole
// is converted in parts, one after the other (see Continue).
class ReportEntries {
public:
    // Each call to ConvertInto needs at least this much room.
    static constexpr qsizetype kMinimumRoom = 1024;

    ReportEntries(CliOptions::Mode mode, QStringView result, char prefix);

    static qsizetype Count(CliOptions::Mode mode, QStringView result);
    // The result cut into pieces of whole entries, about `units` units each: the pieces' reports
    // one after the other are the whole report, so they can be made side by side.
    static std::vector<QStringView> Pieces(CliOptions::Mode mode, QStringView result,
                                           qsizetype units);
    // The report lines of a whole result, or of a piece of one.
    static QByteArray Convert(CliOptions::Mode mode, QStringView result, char prefix);

    // Goes on with the next part of the result: an entry the last part left open goes on in it.
    // Unless `last`, the part's final entry is left open for the next one. No part may end
    // between the halves of a surrogate pair, nor on a CR, whose meaning the unit after it tells.
    void Continue(QStringView part, bool last);

    bool AtEnd() const { return next_ == end_ && (!lineOpen_ || !last_); }
    // Fills `out` as far as it goes; returns how many bytes were written.
    qsizetype ConvertInto(std::span<char> out);

private:
    char* StartEntry(char* out);
    // Goes on up to a unit that needs more thought, or until `out` passes `last`.
    char* ConvertPlain(char* out, const char* last);
    // The unit at next_ is a CR or not ASCII.
    char* ConvertSpecial(char* out);

    CliOptions::Mode mode_;
    const char16_t* next_;
    const char16_t* end_;
    char prefix_;
    bool lineOpen_ = false; // an entry has begun and its LF is not written yet
    bool last_ = true;      // no part of the result follows this one
    QStringEncoder utf8_{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
};
