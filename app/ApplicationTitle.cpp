#include "app/ApplicationTitle.h"

#include "platform/Failure.h"

using namespace Qt::StringLiterals;

QString ApplicationTitleFor(const QString& productName) {
    QString title = productName;
    while (title.size() > kMaxApplicationTitle) {
        const qsizetype blank = title.lastIndexOf(u' ');
        if (blank < 0)
            throw Failure(u"The product name is too long for a title and has no blank to cut at"_s);
        title.truncate(blank);
    }
    return title;
}
