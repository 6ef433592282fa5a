#include "platform/FileDialogFilter.h"

using namespace Qt::StringLiterals;

namespace {

QString QtPatterns(const QString& field, StarDotStar rule) {
    QStringList patterns;
    for (const QString& part : field.split(u';', Qt::SkipEmptyParts)) {
        const QString pattern = part.trimmed();
        if (pattern.isEmpty())
            continue;
        const bool everyFile = pattern == u"*.*"_s && rule == StarDotStar::NeedsADot;
        patterns.append(everyFile ? u"*"_s : pattern);
    }
    return patterns.join(u' ');
}

// The description of a name filter built above: all before its last " (".
QString ShownDescription(const QString& nameFilter) {
    const qsizetype patterns = nameFilter.lastIndexOf(u" ("_s);
    return (patterns < 0 ? nameFilter : nameFilter.left(patterns)).simplified();
}

} // namespace

QStringList QtNameFilters(const QString& filter, StarDotStar rule) {
    const QStringList fields = filter.split(u'|');
    QStringList nameFilters;
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
        const QString patterns = QtPatterns(fields[i + 1], rule);
        if (patterns.isEmpty())
            continue;
        const QString description = fields[i].trimmed();
        nameFilters.append((description.isEmpty() ? patterns : description) + u" ("_s + patterns +
                           u')');
    }
    return nameFilters;
}

qsizetype NameFilterIndex(const QStringList& nameFilters, const QString& chosen) {
    const qsizetype whole = nameFilters.indexOf(chosen);
    if (whole >= 0)
        return whole;
    for (qsizetype i = 0; i < nameFilters.size(); ++i)
        if (ShownDescription(nameFilters[i]) == chosen.simplified())
            return i;
    return -1;
}
