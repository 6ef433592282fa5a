#pragma once

#include "platform/FileDialog.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

// A file dialog that shows nothing. Every property write and every Show is recorded in order
// ("FileName=", "Flags=2621953", "DialogTitle=...", "Filter=...", "ShowOpen", "ShowSave");
// each Show leaves the next scripted answer in FileName (the empty string is a cancel, as is
// running out of answers).
class ScriptedFileDialog final : public FileDialog {
public:
    void SetFileName(const QString& fileName) override {
        calls.push_back(QStringLiteral("FileName=") + fileName);
        FileDialog::SetFileName(fileName);
    }
    void SetFlags(int flags) override {
        calls.push_back(QStringLiteral("Flags=") + QString::number(flags));
        FileDialog::SetFlags(flags);
    }
    void SetDialogTitle(const QString& title) override {
        calls.push_back(QStringLiteral("DialogTitle=") + title);
        FileDialog::SetDialogTitle(title);
    }
    void SetFilter(const QString& filter) override {
        calls.push_back(QStringLiteral("Filter=") + filter);
        FileDialog::SetFilter(filter);
    }

    void ShowOpen() override { Answer(QStringLiteral("ShowOpen")); }
    void ShowSave() override { Answer(QStringLiteral("ShowSave")); }

    // Several picked files in the dialog's form: the folder, then the names, NUL-separated.
    static QString Selection(const QString& folder, const QStringList& names) {
        return (QStringList{folder} + names).join(QChar(u'\0'));
    }

    std::vector<QString> calls;
    std::deque<QString> answers;
    std::function<void()> onShow; // runs while the dialog would be open

private:
    void Answer(const QString& call) {
        calls.push_back(call);
        if (onShow)
            onShow();
        fileName_ = answers.empty() ? QString() : answers.front();
        if (!answers.empty())
            answers.pop_front();
    }
};
