#pragma once

#include "cli/CliOptions.h"
#include "cli/ReportSinks.h"
#include "cli/SideReport.h"

#include <cstddef>
#include <string_view>

// Tells entries' lines from the held text they stand in, as the comparison cuts it: the line
// comparison at CR, the word comparison at CR LF and its lines at single blanks. Entries come in
// text order, so each question is answered by reading on from the last one: every reading of a
// report counts its text once.
class EntryNumbering {
public:
    EntryNumbering(std::u16string_view text, CliOptions::Mode mode) : text_(text), mode_(mode) {}

    // Where the entry that starts at `start` stands; `start` is no earlier than the last one asked.
    EntryLine At(std::size_t start);

private:
    std::u16string_view text_;
    CliOptions::Mode mode_;
    std::size_t read_ = 0;   // the text is counted up to here
    std::size_t breaks_ = 0; // line breaks before read_
    std::size_t blanks_ = 0; // blanks between the last line break and read_ (words)
};

// `pass`, whose entries stand in `text`, with each entry's line told to a sink that wants it.
Pass Numbered(Pass pass, std::u16string_view text, CliOptions::Mode mode);
