#pragma once

#include <QString>

#include <optional>

// The per-user store of small texts, addressed by application, section and key.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or `defaultValue` when the key is absent.
    virtual QString GetSetting(const QString& application, const QString& section,
                               const QString& key, const QString& defaultValue) = 0;
    // Stores the text at once (it is on disk when this returns); throws Failure.
    virtual void SaveSetting(const QString& application, const QString& section, const QString& key,
                             const QString& value) = 0;
    // What went wrong with the stored values, once, to tell the user: a store that could not be
    // read is set aside and the program goes on from the defaults.
    virtual std::optional<QString> TakeProblem() { return std::nullopt; }
};
