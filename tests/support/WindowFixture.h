#pragma once

#include "MemorySettingsStore.h"
#include "RecordingProcessControl.h"
#include "RecordingShell.h"
#include "ScriptedEventPump.h"
#include "ScriptedFileDialog.h"
#include "ScriptedMsgBox.h"
#include "ScriptedRandomGenerator.h"
#include "ScriptedRulesDialog.h"
#include "app/Form1.h"
#include "platform/QtFileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// The window on Qt's offscreen platform with every desktop service scripted, and a temporary
// folder that stands in for the program's own.
class WindowFixture : public ::testing::Test {
protected:
    WindowFixture() : fileSystem(programFolder.path()) {}

    // Creates the window and runs its start-up, as the program does before showing it; with the
    // scripted pump, or the one given.
    Form1& Start(EventPump* with = nullptr) {
        window = std::make_unique<Form1>(Desktop{box, dialog, settings, shell, fileSystem,
                                                 with ? *with : pump, process, random, rulesDialog,
                                                 [] { return 3600.5; }});
        window->Form_Load();
        window->show();
        return *window;
    }

    QString Write(const QString& name, const QByteArray& bytes) {
        const QString path = programFolder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        file.write(bytes);
        return path;
    }

    // Makes the temporary folder the prefix of an installed program: the program in bin/ and its
    // own files, as WriteInstalled writes them, in share/tarnwick/.
    void ActAsInstalled() {
        QDir(programFolder.path()).mkpath(QStringLiteral("bin"));
        fileSystem = QtFileSystem(programFolder.filePath(QStringLiteral("bin")));
    }

    QString WriteInstalled(const QString& name, const QByteArray& bytes) {
        const QString path = QStringLiteral("share/tarnwick/") + name;
        QDir(programFolder.path()).mkpath(QFileInfo(path).path());
        return Write(path, bytes);
    }

    QByteArray Read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QString Setting(const QString& key) {
        return settings.Value(QStringLiteral("Quillmere"), QStringLiteral("Tarnwick"), key)
            .value_or(QStringLiteral("<absent>"));
    }

    void PresetSetting(const QString& key, const QString& value) {
        settings.Preset(QStringLiteral("Quillmere"), QStringLiteral("Tarnwick"), key, value);
    }

    // The texts of the "Application Error" reports shown so far.
    std::vector<QString> ErrorReports() const {
        std::vector<QString> reports;
        for (const ScriptedMsgBox::Shown& shown : box.shown)
            if (shown.caption == QStringLiteral("Application Error"))
                reports.push_back(shown.text);
        return reports;
    }

    QTemporaryDir programFolder;
    ScriptedMsgBox box;
    ScriptedFileDialog dialog;
    MemorySettingsStore settings;
    RecordingShell shell;
    QtFileSystem fileSystem;
    ScriptedEventPump pump;
    RecordingProcessControl process;
    ScriptedRandomGenerator random;
    ScriptedRulesDialog rulesDialog;
    std::unique_ptr<Form1> window;
};
