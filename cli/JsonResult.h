#pragma once

#include "cli/EntryBytes.h"
#include "cli/ReportSinks.h"

// The result list as the inside of the JSON report's string: each entry's two parts escaped as
// they come. No surrogate pair spans two parts (a line's CR, a word's CR LF stand between), so
// this is the whole list escaped at once.
class JsonResult final : public EntryList {
public:
    explicit JsonResult(ByteSink& out) : bytes_(out) {}

    void Entry(std::u16string_view a, std::u16string_view b, std::size_t, std::size_t,
               EntryLine) override;
    void Finish() override { bytes_.Flush(); }
    qint64 Count() const override { return count_; }

private:
    EntryBytes bytes_;
    qint64 count_ = 0;
};
