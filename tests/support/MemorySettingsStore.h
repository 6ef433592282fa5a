#pragma once

#include "platform/Failure.h"
#include "platform/SettingsStore.h"

#include <map>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

// Settings kept in memory. Writes are recorded in order; with `failWrites` each write fails as
// the real store does when it cannot reach the disk, and changes nothing.
class MemorySettingsStore final : public SettingsStore {
public:
    struct Write {
        QString application;
        QString section;
        QString key;
        QString value;
    };

    QString GetSetting(const QString& application, const QString& section, const QString& key,
                       const QString& defaultValue) override {
        return Value(application, section, key).value_or(defaultValue);
    }

    void SaveSetting(const QString& application, const QString& section, const QString& key,
                     const QString& value) override {
        if (failWrites)
            throw Failure(QStringLiteral("The settings could not be saved"));
        values[{application, section, key}] = value;
        writes.push_back({application, section, key, value});
    }

    std::optional<QString> TakeProblem() override { return std::exchange(problem, std::nullopt); }

    std::optional<QString> Value(const QString& application, const QString& section,
                                 const QString& key) const {
        const auto found = values.find({application, section, key});
        if (found == values.end())
            return std::nullopt;
        return found->second;
    }

    // Puts a value in place without recording it as a write of the program.
    void Preset(const QString& application, const QString& section, const QString& key,
                const QString& value) {
        values[{application, section, key}] = value;
    }

    std::map<std::tuple<QString, QString, QString>, QString> values;
    std::vector<Write> writes;
    bool failWrites = false;
    std::optional<QString> problem; // what TakeProblem tells, once
};
