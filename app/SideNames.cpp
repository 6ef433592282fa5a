#include "app/SideNames.h"

#include "platform/FileNames.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

QString SideName::Caption() const {
    switch (kind) {
    case Kind::File:
        return FileNames::Shown(QFileInfo(path).fileName());
    case Kind::Typed:
        return u"(typed text)"_s;
    case Kind::Empty:
        break;
    }
    return u"(empty)"_s;
}

QString SideName::Origin() const {
    // Paths joined from a dialog's folder and names may hold doubled separators.
    return kind == Kind::File ? FileNames::Shown(QDir::cleanPath(path)) : QString();
}

QString WindowTitle(const SideName& one, const SideName& two, QStringView product) {
    if (one.kind == SideName::Kind::Empty && two.kind == SideName::Kind::Empty)
        return product.toString();
    return one.Caption() + u" \u2194 "_s + two.Caption() + u" \u2014 "_s + product.toString();
}
