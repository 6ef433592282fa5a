#include "platform/QtSettingsStore.h"

#include "platform/Failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

// A hand-edited value with an unquoted comma comes back as a list; it is still one text.
QString AsText(const QVariant& value) {
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u", "_s);
    return value.toString();
}

QString Shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Where the store keeps an application's values, found without reading them: a store for a name
// no file has tells the folder and the extension.
QString FileOf(QSettings::Format format, const QString& application) {
    const QSettings probe(format, QSettings::UserScope, application + u" (probe)"_s);
    const QFileInfo info(probe.fileName());
    if (probe.fileName().isEmpty())
        return {};
    return info.dir().filePath(application + u"."_s + info.suffix());
}

// Settings are text: a file with NUL bytes or invalid UTF-8 in it was written by something else,
// and reading it as settings would only rewrite it as escaped junk. A file that cannot be opened
// is left to the settings to report.
bool IsText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return true;
    const QByteArray bytes = file.read(QtSettingsStore::kMaxFileBytes + 1);
    return !bytes.contains('\0') && bytes.isValidUtf8();
}

// The first free name beside `path` that says it could not be read.
QString AsideName(const QString& path) {
    QString aside = path + u".unreadable"_s;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = path + u".unreadable-"_s + QString::number(n);
    return aside;
}

} // namespace

QtSettingsStore::QtSettingsStore(QSettings::Format format) : format_(format) {}

QtSettingsStore::~QtSettingsStore() = default;

QSettings* QtSettingsStore::Open(const QString& application) {
    if (application == application_ && (settings_ || unreadable_))
        return settings_.get();
    settings_.reset();
    application_ = application;
    unreadable_ = false;
    const QString path = FileOf(format_, application);
    const QFileInfo info(path);
    QString reason;
    if (info.exists() && info.size() > kMaxFileBytes) {
        reason = u"it is far too large for settings"_s;
    } else if (info.exists() && !info.isFile()) {
        reason = u"it is not an ordinary file"_s;
    } else if (info.exists() && !IsText(path)) {
        reason = u"it is not a valid settings file"_s;
    } else {
        settings_ = std::make_unique<QSettings>(format_, QSettings::UserScope, application);
        // Only this user's values count; a system-wide file must not stand in for a missing key.
        settings_->setFallbacksEnabled(false);
        if (settings_->status() != QSettings::FormatError)
            return settings_.get();
        reason = u"it is not a valid settings file"_s;
        settings_.reset();
    }
    const QString aside = AsideName(path);
    if (!QFile::rename(path, aside)) {
        unreadable_ = true; // left as it is, and nothing is written over it
        problem_ = u"The settings in %1 could not be read: %2. It was left as it is, and the "
                   u"defaults are used."_s.arg(Shown(path), reason);
        return nullptr;
    }
    problem_ = u"The settings in %1 could not be read: %2. The file was moved to %3, and the "
               u"settings start again from the defaults."_s.arg(Shown(path), reason, Shown(aside));
    return Open(application);
}

QString QtSettingsStore::GetSetting(const QString& application, const QString& section,
                                    const QString& key, const QString& defaultValue) {
    QSettings* settings = Open(application);
    const QString path = section + u"/"_s + key;
    if (!settings || !settings->contains(path))
        return defaultValue;
    return AsText(settings->value(path));
}

void QtSettingsStore::SaveSetting(const QString& application, const QString& section,
                                  const QString& key, const QString& value) {
    QSettings* settings = Open(application);
    if (!settings)
        throw Failure(u"The settings could not be saved: %1 could not be read and is kept as it "
                      u"is"_s.arg(Shown(FileOf(format_, application))));
    settings->setValue(section + u"/"_s + key, value);
    // The program may be ended at any moment without a chance to write later.
    settings->sync();
    if (settings->status() != QSettings::NoError)
        throw Failure(u"The settings could not be saved: %1 cannot be written"_s.arg(
            Shown(settings->fileName())));
}

std::optional<QString> QtSettingsStore::TakeProblem() {
    return std::exchange(problem_, std::nullopt);
}
