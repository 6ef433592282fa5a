#pragma once

#include "cli/LookalikeSinks.h"
#include "cli/ReportSinks.h"
#include "cli/RuleMatchSinks.h"
#include "cli/SideReport.h"

#include <cstdint>
#include <string_view>
#include <vector>

// Where a side's entries stand in its text, kept as far as the room lasts: the report is then
// written from them and the held text, however often it reads them, without the comparison
// running again. Each entry is kept as the distance from the end of the one before and its
// length, a byte or two each for most. Look-alikes, which few entries have, are kept whole, and so
// are the lines or words that only the rules match.
class EntryPlaces final : public EntrySink {
public:
    EntryPlaces(KeptRoom& room, CliOptions::Mode mode) : room_(room), mode_(mode) {}
    ~EntryPlaces() override { Release(); }
    EntryPlaces(const EntryPlaces&) = delete;
    EntryPlaces& operator=(const EntryPlaces&) = delete;

    void Entry(std::u16string_view a, std::u16string_view b, std::size_t start, std::size_t length,
               EntryLine) override;
    void Lookalike(const EntryLookalike& lookalike) override;
    void Matched(std::u16string_view a, std::u16string_view b, const EntryMatch& match) override;
    void Finish() override {}

    bool Complete() const { return complete_; }
    // How many entries it holds, when complete.
    std::size_t Count() const { return entries_; }
    // The entries again, made from the text they stand in.
    Pass Replay(std::u16string_view text) const;

private:
    // False when the room has run out.
    bool TakeBlock(std::size_t bytes);
    void Put(std::uint64_t value);
    void Release();

    struct KeptLookalike {
        std::size_t entry; // the number of the entry it belongs to, from 0
        EntryLookalike lookalike;
    };
    struct KeptMatch {
        std::size_t before; // the number of the entry it comes before, from 0
        std::size_t units;  // its line's units (without the CR), or the word's
        EntryMatch match;
    };
    // Room for one more kept item in `kept`, a block of `perBlock` at a time.
    template <typename Kept> bool RoomFor(std::vector<std::vector<Kept>>& kept);

    KeptRoom& room_;
    CliOptions::Mode mode_;
    std::vector<std::vector<std::uint8_t>> blocks_;
    std::vector<std::vector<KeptLookalike>> lookalikes_;
    std::vector<std::vector<KeptMatch>> matches_;
    std::size_t entries_ = 0;
    std::size_t lastEnd_ = 0;
    bool complete_ = true;
};
