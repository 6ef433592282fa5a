#pragma once

#include "cli/ByteLines.h"

#include "compare/ComparisonRules.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// One direction of the line comparison on bytes under the rules that ByteRuleKey serves, masks
// and ignore-matching: of the pieces of `own` that `other` lacks as they stand (`missing`, in
// order), those whose key under the rules is the key of no line of `other` and in which the
// ignore-matching expression finds no match, in order, in place of `missing`. Both texts must be
// ASCII, and each cut with a map (RuleChangeMap) under the same rules when they have kinds.
// Throws RuleError when an expression cannot be matched against a line.
//
// The keys of the missing pieces are gathered in a table, one of each, that keeps no key: a key
// is made again from its piece to tell two with one hash apart. `other` is read once, each of its
// lines keyed and looked up, until every key has found a line or it ends; a filter small enough
// to stay in the cache passes over most lines whose key is none of the table's. A line that the
// rules may not change (ByteLines::MayChange) is its own key: its hash is the one it has, and its
// bytes are not read. Under masks a line's key is masked when a mask matches in it (ByteMaskKey):
// every missing piece is matched, and the lines of `other` while masked keys wait for a line;
// otherwise only a line whose key from its bytes is one of the table's, to tell that it is its own.
void KeepRedUnderRules(const ByteLines& own, std::vector<std::uint32_t>& missing,
                       const ByteLines& other, const compare::ComparisonRules& rules);

// What KeepRedUnderRules takes for `missing` missing pieces, in bytes, at most, where no line of
// either text is longer than `longestLine` bytes.
std::size_t RedUnderRulesBytes(std::size_t missing, std::size_t longestLine,
                               const compare::ComparisonRules& rules);
