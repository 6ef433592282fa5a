#include "app/BooleanText.h"

#include "platform/Failure.h"

#include <cmath>

using namespace Qt::StringLiterals;

bool ToBoolean(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.compare(u"True"_s, Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(u"False"_s, Qt::CaseInsensitive) == 0)
        return false;
    bool isNumber = false;
    const double number = trimmed.toDouble(&isNumber);
    // The conversion also reads "nan" and "inf", which are words here, not numbers.
    if (!isNumber || !std::isfinite(number))
        throw Failure(u"Type mismatch"_s);
    return number != 0.0;
}
