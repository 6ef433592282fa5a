#include "cli/StreamedRuleLines.h"

#include "cli/RuleMatchSinks.h"
#include "cli/RulePasses.h"

#include "compare/ContentHash.h"

namespace {

std::size_t MarkedLength(const CutPiece& cut) {
    return cut.place.length + (cut.endsWithCR ? 1 : 0);
}

std::uint32_t Narrow(std::size_t value) {
    return static_cast<std::uint32_t>(value);
}

} // namespace

StreamedRuleLines::StreamedRuleLines(const compare::ComparisonRules& rules,
                                     const compare::LineSet& lines, bool nameRules)
    : rules_(rules), lines_(lines), nameRules_(nameRules), text_(rules) {}

std::uint32_t StreamedRuleLines::KeyNumber(std::u16string_view content) {
    const std::u16string_view key = text_.Key(content);
    const std::size_t entry = keys_.Find(key, compare::ContentHash(key));
    return entry == compare::LineSet::kNone ? kNone : keys_.Number(entry);
}

void StreamedRuleLines::AddHeld(const CutPiece& cut, std::size_t entry) {
    const std::size_t line = heldLine_++;
    if (!rules_.MakesEqual())
        return;
    const std::u16string_view key = text_.Key(cut.content);
    const std::uint32_t number = keys_.Number(keys_.Add(key, compare::ContentHash(key)));
    if (number < infos_.size())
        return;
    KeyInfo& info = infos_.emplace_back();
    info.heldLine = Narrow(line);
    info.heldStart = Narrow(cut.place.start);
    info.heldLength = Narrow(MarkedLength(cut));
    info.heldEntry = Narrow(entry);
}

void StreamedRuleLines::Read(const CutPiece& cut, std::size_t lineNumber, bool found, bool mark,
                             EntrySink& sink) {
    const std::size_t line = readLine_++;
    const std::uint32_t key = rules_.MakesEqual() ? KeyNumber(cut.content) : kNone;
    if (mark && key != kNone && infos_[key].readLine == kNone) {
        KeyInfo& info = infos_[key];
        info.readLine = Narrow(line);
        info.readStart = Narrow(cut.place.start);
        info.readLength = Narrow(MarkedLength(cut));
        if (nameRules_) {
            info.readContent = Narrow(readContents_.size());
            info.readContentLength = Narrow(cut.content.size());
            readContents_.append(cut.content);
        }
    }
    if (!found)
        Missing(cut, lineNumber, key, false, sink);
}

void StreamedRuleLines::HeldMissing(const CutPiece& cut, std::size_t lineNumber, EntrySink& sink) {
    Missing(cut, lineNumber, rules_.MakesEqual() ? KeyNumber(cut.content) : kNone, true, sink);
}

void StreamedRuleLines::Missing(const CutPiece& cut, std::size_t lineNumber, std::uint32_t key,
                                bool ofHeld, EntrySink& sink) {
    EntryMatch match;
    match.start = cut.place.start;
    match.length = MarkedLength(cut);
    const KeyInfo* info = key == kNone ? nullptr : &infos_[key];
    // A held line is matched by the first read line with its key, a read line by the first held
    // line with it.
    if (info && (ofHeld ? info->readLine : info->heldLine) != kNone) {
        std::u16string other;
        if (ofHeld) {
            match.otherStart = info->readStart;
            match.otherLength = info->readLength;
            match.otherLine = info->readLine + std::size_t{1};
            if (nameRules_)
                other = readContents_.substr(info->readContent, info->readContentLength);
        } else {
            match.otherStart = info->heldStart;
            match.otherLength = info->heldLength;
            match.otherLine = info->heldLine + std::size_t{1};
            if (nameRules_)
                other = lines_.Content(info->heldEntry);
        }
        compare::RuleMatch found;
        match.rules = RulesOfMatch(found, cut.content, other, nameRules_ ? &text_ : nullptr);
        sink.Matched(cut.piece, u"\r", match);
        return;
    }
    if (rules_.HasIgnoreMatching() && text_.Ignored(cut.content)) {
        match.ignored = true;
        match.rules.ignoreMatching = true;
        sink.Matched(cut.piece, u"\r", match);
        return;
    }
    sink.Entry(cut.piece, u"\r", cut.place.start, MarkedLength(cut), {lineNumber, 0});
}
