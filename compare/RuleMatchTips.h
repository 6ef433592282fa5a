#pragma once

#include "compare/ComparisonRules.h"
#include "compare/RuleMatch.h"
#include "platform/Pane.h"
#include "platform/TextRange.h"

#include <memory>
#include <optional>
#include <vector>

using RuleMatches = std::shared_ptr<const std::vector<compare::RuleMatch>>;

// What a pane colours for the lines or words only a rule matched (in text order): a line with
// the CR that ends it, a word as it stands; sorted, those that touch joined.
std::vector<TextRange> RuleMatchMarks(std::u16string_view own,
                                      const std::vector<compare::RuleMatch>& matched, bool lines);

// "Matches line 812 of Text File #2 when trailing blanks and case are ignored", or for a line
// the ignore-matching expression took out, "Ignored: the line matches ^#".
QString RuleMatchNote(const compare::RuleMatch& match, const compare::MatchedRules& rules,
                      const QString& otherName, bool lines, const QString& ignoreMatching);

// ", 40 more lines match only by the rules" for the counts' tooltip; empty for none.
QString RuleMatchCountNote(std::size_t matched, bool lines);

// The tooltip of a line or word only a rule matched, before whatever `tips` says of the place;
// the rules behind the match are worked out when asked, from the texts as they were compared.
Pane::TipSource WithRuleMatchTips(Pane::TipSource tips, const Pane& own, const Pane& other,
                                  RuleMatches matched, compare::ComparisonRules rules,
                                  const QString& otherName, bool lines);
