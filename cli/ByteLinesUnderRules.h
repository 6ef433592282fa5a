#pragma once

#include "cli/ByteLines.h"

#include "compare/LookalikeKinds.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// One direction of the line comparison on bytes under the rules that ByteRuleKey serves: of the
// pieces of `own` that `other` lacks as they stand (`missing`, in order), those whose key under
// the rules is the key of no line of `other`, in order, in place of `missing`. Both texts must be
// ASCII, and each cut with a map (RuleChangeMap) under the same rules.
//
// The keys of the missing pieces are gathered in a table, one of each, that keeps no key: a key
// is made again from its piece to tell two with one hash apart. `other` is read once, each of its
// lines keyed and looked up, until every key has found a line or it ends; a filter small enough
// to stay in the cache passes over most lines whose key is none of the table's. A line that the
// rules may not change (ByteLines::MayChange) is its own key: its hash is the one it has, and its
// bytes are not read.
void KeepRedUnderRules(const ByteLines& own, std::vector<std::uint32_t>& missing,
                       const ByteLines& other, compare::LookalikeKinds kinds);

// What KeepRedUnderRules takes for `missing` missing pieces, in bytes, at most, where no line of
// either text is longer than `longestLine` bytes.
std::size_t RedUnderRulesBytes(std::size_t missing, std::size_t longestLine);
