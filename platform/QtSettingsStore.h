#pragma once

#include "platform/SettingsStore.h"

#include <QSettings>

// The per-user settings of the platform's native store (on Linux ~/.config/<application>.conf).
// The application name is the store's organization; the section is a group, the key a key.
class QtSettingsStore final : public SettingsStore {
public:
    explicit QtSettingsStore(QSettings::Format format = QSettings::NativeFormat);

    QString GetSetting(const QString& application, const QString& section, const QString& key,
                       const QString& defaultValue) override;
    void SaveSetting(const QString& application, const QString& section, const QString& key,
                     const QString& value) override;

private:
    QSettings::Format format_;
};
