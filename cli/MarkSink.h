#pragma once

#include "cli/EntryBytes.h"
#include "cli/ReportSinks.h"

// The coloured runs as the JSON report lists them: "[start,length]" pairs separated by commas.
// Runs that touch are one, as they are in a pane's colours; an empty run colours nothing.
class MarkSink final : public EntrySink {
public:
    explicit MarkSink(ByteSink& out) : bytes_(out) {}

    void Entry(std::u16string_view, std::u16string_view, std::size_t start, std::size_t length,
               EntryLine) override;
    void Finish() override;

private:
    void Close();

    EntryBytes bytes_;
    std::size_t start_ = 0;
    std::size_t end_ = 0;
    bool open_ = false;
    bool first_ = true;
};
