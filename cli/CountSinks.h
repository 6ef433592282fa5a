#pragma once

#include "cli/EntryBytes.h"
#include "cli/ReportSinks.h"

#include <QByteArray>

#include <cstddef>
#include <functional>
#include <string_view>

// A line that both files hold, but a different number of times, told where it first stands in
// this file.
struct CountedLine {
    std::u16string_view text; // without the LF that CR LF text leaves in front of it
    std::size_t start = 0;    // the line in this file's text with the CR that ends it, as a mark
    std::size_t length = 0;   // would cover it
    std::size_t line = 0;     // from 1, as the line comparison cuts the text
    std::size_t here = 0;     // how many times this file holds it
    std::size_t there = 0;    // how many times the other file does
};

// One file's counted lines, in the order of their first lines.
class CountSink {
public:
    virtual ~CountSink() = default;
    virtual void Counted(const CountedLine& line) = 0;
    // No more lines come.
    virtual void Finish() = 0;
    qint64 Count() const { return count_; }

protected:
    qint64 count_ = 0;
};

// A pass that hands one file's counted lines, in order, to a sink. It can be run again, and
// gives the same each time.
using CountPass = std::function<void(CountSink&)>;

// What stands between a count and the file it counts in: "3× in a.txt".
inline constexpr std::string_view kTimesIn = "\xC3\x97 in ";

// The readable report's counted lines: "< 3× in a.txt, 1× in b.txt: text", with the line number
// after the mark when asked for.
class ReadableCounts final : public CountSink {
public:
    ReadableCounts(char prefix, bool lineNumbers, QByteArray ownName, QByteArray otherName,
                   ByteSink& out);
    void Counted(const CountedLine& line) override;
    void Finish() override { bytes_.Flush(); }

private:
    char prefix_;
    bool lineNumbers_;
    QByteArray ownName_;
    QByteArray otherName_;
    EntryBytes bytes_;
};

// The counted lines as the JSON report lists them, separated by commas:
// {"start":S,"length":L,"here":3,"there":1,"line":12,"text":"beta"}.
class JsonCounts final : public CountSink {
public:
    explicit JsonCounts(ByteSink& out) : bytes_(out) {}
    void Counted(const CountedLine& line) override;
    void Finish() override { bytes_.Flush(); }

private:
    EntryBytes bytes_;
};
