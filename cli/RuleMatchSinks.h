#pragma once

#include "cli/JsonObjectList.h"
#include "cli/ReportSinks.h"

#include "compare/RuleMatch.h"

#include <QByteArray>

#include <cstddef>
#include <string_view>

// A line or word that is no difference only because of a rule, as the report gives it: its place
// and that of what it matched as marks would cover them (a line with the CR that ends it, a word
// alone), and the rules that made the match.
struct EntryMatch {
    std::size_t start = 0;
    std::size_t length = 0;
    bool ignored = false; // by the ignore-matching expression: it matched nothing
    std::size_t otherStart = 0;
    std::size_t otherLength = 0;
    std::size_t otherLine = 0; // from 1
    compare::MatchedRules rules;
};

// The rules by their names: "case, mask", or for JSON "\"case\",\"mask\"".
QByteArray RuleNames(const compare::MatchedRules& rules, bool quoted);

// The readable report's section of the lines or words that only the rules match: each as a list
// gives it, with the prefix '=', and a line under it such as
// "    matches line 812 of b.txt by: case" or "    ignored by: ignore-matching". Counts them.
class ReadableMatches final : public EntrySink {
public:
    ReadableMatches(CliOptions::Mode mode, ByteSink& out, QByteArray otherName)
        : list_(mode, '=', out), out_(out), otherName_(std::move(otherName)) {}

    void Entry(std::u16string_view, std::u16string_view, std::size_t, std::size_t,
               EntryLine) override {}
    void Matched(std::u16string_view a, std::u16string_view b, const EntryMatch& match) override;
    void Finish() override { list_.Finish(); }
    qint64 Count() const { return list_.Count(); }

private:
    ListSink list_;
    ByteSink& out_;
    QByteArray otherName_;
};

// The JSON report's "matched_by_rule": objects separated by commas, in text order.
class JsonMatches final : public EntrySink {
public:
    explicit JsonMatches(ByteSink& out) : list_(out) {}

    void Entry(std::u16string_view, std::u16string_view, std::size_t, std::size_t,
               EntryLine) override {}
    void Matched(std::u16string_view, std::u16string_view, const EntryMatch& match) override;
    void Finish() override;

private:
    JsonObjectList list_;
};
