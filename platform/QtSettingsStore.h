#pragma once

#include "platform/SettingsStore.h"

#include <QSettings>

#include <memory>

// The per-user settings of the platform's native store (on Linux ~/.config/<application>.conf).
// The application name is the store's organization; the section is a group, the key a key.
//
// Each application's file is read once, when it is first asked for. A file that cannot be read
// as settings, or that is far larger than settings ever are, is not rewritten: it is moved aside
// under a name that says so, the program goes on from the defaults, and TakeProblem tells.
class QtSettingsStore final : public SettingsStore {
public:
    // Larger settings files are garbage, and would take long to read.
    static constexpr qint64 kMaxFileBytes = qint64{1} << 20;

    explicit QtSettingsStore(QSettings::Format format = QSettings::NativeFormat);
    ~QtSettingsStore() override;

    QString GetSetting(const QString& application, const QString& section, const QString& key,
                       const QString& defaultValue) override;
    void SaveSetting(const QString& application, const QString& section, const QString& key,
                     const QString& value) override;
    std::optional<QString> TakeProblem() override;

private:
    // The application's settings, read on the first call; nullptr when they could not be read and
    // the file could not be moved aside.
    QSettings* Open(const QString& application);

    QSettings::Format format_;
    QString application_;
    std::unique_ptr<QSettings> settings_;
    bool unreadable_ = false;
    std::optional<QString> problem_;
};
