#pragma once

#include "cli/PieceBatches.h"
#include "cli/ReportSinks.h"

#include "compare/ComparisonRules.h"
#include "compare/LineSet.h"
#include "compare/RuleText.h"

#include <cstdint>
#include <string>
#include <vector>

// The line comparison under rules for texts too large to hold: beside the distinct lines of the
// held text (the smaller), the distinct keys of its lines (RuleText::Key), each with the first
// held line that has it and the first line of the read text found with it. The read text is
// keyed line by line as it is read; a line either text lacks as it stands is then matched by the
// first line of the other with its key, as with both texts held, or ignored, or red.
class StreamedRuleLines {
public:
    // `lines` is the set of the held text's distinct lines. With `nameRules` the rules behind each
    // match are worked out, and the first read line of each key is kept to work them out with.
    StreamedRuleLines(const compare::ComparisonRules& rules, const compare::LineSet& lines,
                      bool nameRules);

    // A piece of the held text, in order; `entry` is where `lines` keeps its content.
    void AddHeld(const CutPiece& cut, std::size_t entry);
    // A piece of the read text, in order, at its line `lineNumber` (from 1), which the held text
    // has as it stands when `found`; with `mark` its key is noted as found. One the held text
    // lacks goes to the sink as red or matched.
    void Read(const CutPiece& cut, std::size_t lineNumber, bool found, bool mark, EntrySink& sink);
    // A piece of the held text that the read text lacks as it stands, red or matched.
    void HeldMissing(const CutPiece& cut, std::size_t lineNumber, EntrySink& sink);
    // Each read starts counting its lines from the first.
    void StartReading() { readLine_ = 0; }

private:
    static constexpr std::uint32_t kNone = ~std::uint32_t{0};
    // Places in 32 bits: a file is read to 1 GiB at most, so its text has fewer units.
    struct KeyInfo {
        std::uint32_t heldLine = kNone; // from 0
        std::uint32_t heldStart = 0;    // its mark
        std::uint32_t heldLength = 0;
        std::uint32_t heldEntry = 0; // its content in the held lines
        std::uint32_t readLine = kNone;
        std::uint32_t readStart = 0;
        std::uint32_t readLength = 0;
        std::uint32_t readContent = 0; // in readContents_, with `nameRules`
        std::uint32_t readContentLength = 0;
    };
    // The number of the key of `content`, or kNone.
    std::uint32_t KeyNumber(std::u16string_view content);
    void Missing(const CutPiece& cut, std::size_t lineNumber, std::uint32_t key, bool ofHeld,
                 EntrySink& sink);

    const compare::ComparisonRules& rules_;
    const compare::LineSet& lines_;
    bool nameRules_;
    compare::RuleText text_;
    compare::LineSet keys_{true};
    std::vector<KeyInfo> infos_;
    std::u16string readContents_;
    std::size_t heldLine_ = 0;
    std::size_t readLine_ = 0;
};
