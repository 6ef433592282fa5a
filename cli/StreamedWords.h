#pragma once

#include "cli/InputText.h"
#include "cli/ReportSinks.h"

#include "compare/LineStream.h"
#include "compare/LineWords.h"
#include "compare/StreamedPartner.h"
#include "compare/WordPass.h"

#include <functional>
#include <string>
#include <string_view>

// One direction of the word comparison over two files read a chunk at a time, as
// compare::ForEachUnmatchedWordStreamed pairs and compares their lines, with each unmatched
// word's line and place in it: unmatched(start, word, EntryLine) for each, in text order, until
// it returns false. Returns false when it was stopped.
template <typename Unmatched>
bool ForEachUnmatchedWordReading(InputText& ownText, InputText& otherText, Unmatched&& unmatched) {
    InputText::Reading ownChunks(ownText);
    InputText::Reading otherChunks(otherText);
    compare::LineStream own(std::ref(ownChunks));
    compare::StreamedPartner other(otherChunks);
    compare::PartnerLine partner(other.Text());
    compare::LineCut cut;
    bool goOn = true;
    const auto keepGoing = [&](std::size_t) { return goOn; };
    for (std::size_t lineNumber = 1; const auto line = own.Next(); ++lineNumber) {
        const compare::LineExtent extent = cut.Cut(line->text, 0);
        std::size_t blanks = 0, counted = 0; // blanks of the line before `counted`
        compare::ForEachUnmatchedWordOfLine(
            cut, extent, line->text, partner,
            [&](std::size_t start, std::size_t length) {
                if (!goOn)
                    return;
                for (; counted < start; ++counted)
                    blanks += line->text[counted] == compare::kWordBlank;
                goOn = unmatched(line->start + start, line->text.substr(start, length),
                                 EntryLine{lineNumber, blanks});
            },
            keepGoing);
        if (!goOn)
            return false;
        if (!line->hasNext)
            break;
        if (other.MoveOn())
            partner.Use(other.Text());
        else
            partner.Rewind();
    }
    return true;
}
