#pragma once

#include "cli/CliOptions.h"
#include "cli/EntryBytes.h"
#include "cli/ReportSinks.h"

// The readable report's entries, each after its line: "< 12: entry". The entry is written as the
// list without numbers writes it: a line without the LF that CR LF text leaves in front of it, a
// word as it is.
class NumberedList final : public EntryList {
public:
    NumberedList(CliOptions::Mode mode, char prefix, ByteSink& out)
        : mode_(mode), prefix_(prefix), bytes_(out) {}

    void Entry(std::u16string_view a, std::u16string_view b, std::size_t, std::size_t,
               EntryLine at) override;
    void Finish() override { bytes_.Flush(); }
    bool WantsLines() const override { return true; }
    qint64 Count() const override { return count_; }

private:
    CliOptions::Mode mode_;
    char prefix_;
    EntryBytes bytes_;
    qint64 count_ = 0;
};
