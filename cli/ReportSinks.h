#pragma once

#include "cli/CliOptions.h"
#include "cli/ReportEntries.h"

#include <QByteArray>
#include <QByteArrayView>

#include <atomic>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// How many bytes a sink gathers before it writes them on.
inline constexpr qsizetype kOutputBufferBytes = qsizetype{1} << 20;

// Where report bytes go.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void Write(QByteArrayView bytes) = 0;
    // False once what is written is thrown away: making it can stop.
    virtual bool Wants() const { return true; }
};

// The report itself, written through a large buffer. Throws Failure when it cannot be written;
// after that nothing more is written.
class ReportOutput final : public ByteSink {
public:
    explicit ReportOutput(std::FILE* out) : out_(out) {}
    void Write(QByteArrayView bytes) override;
    void Flush();

private:
    std::FILE* out_;
    QByteArray buffer_;
};

// Room for report bytes that wait for their turn, shared by everything that keeps some, on any
// thread.
class KeptRoom {
public:
    explicit KeptRoom(qint64 bytes) : left_(bytes) {}
    bool Take(qint64 bytes);
    // As much of `bytes` as is left; returns what it took.
    qint64 TakeUpTo(qint64 bytes);
    void GiveBack(qint64 bytes) { left_ += bytes; }

private:
    std::atomic<qint64> left_;
};

// Bytes kept until their turn comes, as long as the room lasts. Once it runs out they are let go:
// whatever made them must make them again when their turn comes. They are kept in blocks, so that
// what they take is what they hold, not twice that as a growing buffer would.
class KeptBytes final : public ByteSink {
public:
    explicit KeptBytes(KeptRoom& room) : room_(room) {}
    ~KeptBytes() override { Release(); }
    KeptBytes(const KeptBytes&) = delete;
    KeptBytes& operator=(const KeptBytes&) = delete;

    void Write(QByteArrayView bytes) override;
    bool Wants() const override { return complete_; }
    bool Complete() const { return complete_; }
    // Writes what is kept to `out`.
    void WriteTo(ByteSink& out) const;
    void Release();

private:
    KeptRoom& room_;
    std::vector<QByteArray> blocks_;
    qint64 size_ = 0;
    bool complete_ = true;
};

struct EntryLookalike;

// Where an entry stands in its file as the comparison cuts it: its line from 1 (for the line
// comparison its piece, cut at CR; for the word comparison its line, cut at CR LF) and, for a
// word, its place in that line from 0. A comparison works it out only for a sink that wants it
// (WantsLines); otherwise it is zero.
struct EntryLine {
    std::size_t line = 0;
    std::size_t word = 0;
};

// One file's differences as a comparison finds them, in order.
class EntrySink {
public:
    virtual ~EntrySink() = default;
    // An entry: `a` and then `b` are what the result list gets; `length` units from `start` of
    // the file's text are coloured.
    virtual void Entry(std::u16string_view a, std::u16string_view b, std::size_t start,
                       std::size_t length, EntryLine at) = 0;
    // The entry just given looks like a piece of the other file (with --explain).
    virtual void Lookalike(const EntryLookalike&) {}
    // No more entries come.
    virtual void Finish() = 0;
    // Whether the entries' lines are wanted.
    virtual bool WantsLines() const { return false; }
};

// A readable list of entries, which counts them as they come.
class EntryList : public EntrySink {
public:
    virtual qint64 Count() const = 0;
};

// The result list as the readable report's lines ("< entry"). Entries are gathered and written a
// part of `partUnits` units at a time; an entry longer than that, a line of many megabytes, goes
// out in parts too, so that what is held stays small.
class ListSink final : public EntryList {
public:
    static constexpr std::size_t kPartUnits = std::size_t{1} << 18;

    ListSink(CliOptions::Mode mode, char prefix, ByteSink& out, std::size_t partUnits = kPartUnits);

    void Entry(std::u16string_view a, std::u16string_view b, std::size_t, std::size_t,
               EntryLine) override;
    void Finish() override { Flush(true); }
    qint64 Count() const override { return count_; }

private:
    void Add(std::u16string_view units);
    // Writes what is gathered; unless `last`, a final unit whose meaning depends on the next one
    // waits for the next part.
    void Flush(bool last);
    void WritePart(QStringView part, bool last);
    // Most entries are a few units: moved by a loop the compiler widens, not a call.
    static char16_t* Put(char16_t* out, std::u16string_view units);

    ByteSink& out_;
    std::size_t partUnits_;
    std::u16string list_; // the part being gathered, partUnits_ long once the first entry comes
    std::size_t used_ = 0;
    ReportEntries entries_;
    QByteArray bytes_; // a part's report, made here before it is written
    qint64 count_ = 0;
    bool wanted_ = true; // what the list becomes is not thrown away
};

// Hands every entry to two sinks.
class BothSinks final : public EntrySink {
public:
    BothSinks(EntrySink& first, EntrySink& second) : first_(first), second_(second) {}
    void Entry(std::u16string_view a, std::u16string_view b, std::size_t start, std::size_t length,
               EntryLine at) override {
        first_.Entry(a, b, start, length, at);
        second_.Entry(a, b, start, length, at);
    }
    void Lookalike(const EntryLookalike& lookalike) override {
        first_.Lookalike(lookalike);
        second_.Lookalike(lookalike);
    }
    void Finish() override {
        first_.Finish();
        second_.Finish();
    }
    bool WantsLines() const override { return first_.WantsLines() || second_.WantsLines(); }

private:
    EntrySink& first_;
    EntrySink& second_;
};
