#pragma once

#include "cli/CliOptions.h"
#include "cli/EntryBytes.h"
#include "cli/ReportSinks.h"

// The entries as the JSON report lists them for programs, in text order and separated by commas:
// {"line":12,"text":"beta"} for a line, {"line":12,"word":3,"text":"report"} for a word. The
// text is a line's without the LF that CR LF text leaves in front of it, a word as it is.
class JsonEntries final : public EntrySink {
public:
    JsonEntries(CliOptions::Mode mode, ByteSink& out) : mode_(mode), bytes_(out) {}

    void Entry(std::u16string_view a, std::u16string_view b, std::size_t, std::size_t,
               EntryLine at) override;
    void Finish() override { bytes_.Flush(); }
    bool WantsLines() const override { return true; }

private:
    CliOptions::Mode mode_;
    EntryBytes bytes_;
    bool first_ = true;
};
