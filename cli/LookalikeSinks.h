#pragma once

#include "cli/JsonObjectList.h"
#include "cli/ReportSinks.h"

#include "compare/LookalikeKinds.h"

#include <QByteArray>

#include <cstddef>
#include <utility>

// An entry's look-alike in the other file and what sets the two apart. Both places are given as a
// mark covers them: a line with the CR that ends it, a word alone.
struct EntryLookalike {
    std::size_t start = 0; // the entry, in its own text
    std::size_t length = 0;
    std::size_t otherStart = 0; // the look-alike, in the other text
    std::size_t otherLength = 0;
    std::size_t otherLine = 0; // the look-alike's line there, from 1
    compare::LookalikeKinds kinds;
};

// The kinds by their names, in list order: "trailing-space, case", or for JSON
// "\"trailing-space\",\"case\"".
QByteArray LookalikeKindNames(compare::LookalikeKinds kinds, bool quoted);

// The readable report's line under an entry whose look-alike is line `line` (from 1) of the file
// called `otherName`: "    looks like line 12 of b.txt: trailing-space, case".
QByteArray LookalikeNote(std::size_t line, const QByteArray& otherName,
                         compare::LookalikeKinds kinds);

// The readable report's entries with a line under each that has a look-alike, such as
// "    looks like line 12 of b.txt: trailing-space, case". The entries go to `list`, which writes
// to `out`; a look-alike's line follows once the entries before it are written.
class ReadableLookalikes final : public EntrySink {
public:
    ReadableLookalikes(EntryList& list, ByteSink& out, QByteArray otherName)
        : list_(list), out_(out), otherName_(std::move(otherName)) {}

    void Entry(std::u16string_view a, std::u16string_view b, std::size_t start, std::size_t length,
               EntryLine at) override {
        list_.Entry(a, b, start, length, at);
    }
    void Lookalike(const EntryLookalike& lookalike) override;
    void Finish() override { list_.Finish(); }
    bool WantsLines() const override { return list_.WantsLines(); }

private:
    EntryList& list_;
    ByteSink& out_;
    QByteArray otherName_;
};

// The look-alikes as the JSON report lists them: objects separated by commas, in text order.
class JsonLookalikes final : public EntrySink {
public:
    explicit JsonLookalikes(ByteSink& out) : list_(out) {}

    void Entry(std::u16string_view, std::u16string_view, std::size_t, std::size_t,
               EntryLine) override {}
    void Lookalike(const EntryLookalike& lookalike) override;
    void Finish() override;

private:
    JsonObjectList list_;
};
