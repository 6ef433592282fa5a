#pragma once

#include <QString>

// A stored text read back as a Boolean: "True" or "False" in any letter case, or a finite number
// (0 is false, any other number true). Anything else, "nan" and "inf" included, throws
// Failure("Type mismatch").
bool ToBoolean(const QString& text);
