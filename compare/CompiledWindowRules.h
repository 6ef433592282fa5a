#pragma once

#include "app/WindowRules.h"
#include "compare/ComparisonRules.h"

// The window's rules made ready to compare with. Throws RuleError for an expression that cannot
// be used; a kind of no known name is left out.
compare::ComparisonRules CompiledWindowRules(const WindowRules& rules);
