#pragma once

#include "platform/Failure.h"
#include "platform/FileDialog.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

// A file dialog that shows nothing. Every property write and every Show is recorded in order
// ("FileName=", "Flags=2621953", "DialogTitle=...", "Filter=...", "ShowOpen", "ShowSave");
// each Show leaves the next scripted answer in FileName (the empty string is a cancel, as is
// running out of answers) and `filterChosen` as the filter in force.
class ScriptedFileDialog final : public FileDialog {
public:
    void SetFileName(const QString& fileName) override {
        Record(QStringLiteral("FileName"), QStringLiteral("FileName=") + fileName);
        FileDialog::SetFileName(fileName);
    }
    void SetFlags(int flags) override {
        Record(QStringLiteral("Flags"), QStringLiteral("Flags=") + QString::number(flags));
        FileDialog::SetFlags(flags);
    }
    void SetDialogTitle(const QString& title) override {
        Record(QStringLiteral("DialogTitle"), QStringLiteral("DialogTitle=") + title);
        FileDialog::SetDialogTitle(title);
    }
    void SetFilter(const QString& filter) override {
        Record(QStringLiteral("Filter"), QStringLiteral("Filter=") + filter);
        FileDialog::SetFilter(filter);
    }

    Task<> ShowOpen() override {
        Answer(QStringLiteral("ShowOpen"));
        co_return;
    }
    Task<> ShowSave() override {
        Answer(QStringLiteral("ShowSave"));
        co_return;
    }

    // Several picked files in the dialog's form: the folder, then the names, NUL-separated.
    static QString Selection(const QString& folder, const QStringList& names) {
        return (QStringList{folder} + names).join(QChar(u'\0'));
    }

    std::vector<QString> calls;
    std::deque<QString> answers;
    std::function<void()> onShow; // runs while the dialog would be open
    int filterChosen = 0;
    // The property ("FileName", "Flags" ...) or Show whose every use fails, as a dialog that
    // cannot be shown or cannot take a value does. It changes nothing.
    QString failing;

private:
    void Record(const QString& name, const QString& call) {
        calls.push_back(call);
        if (name == failing)
            throw Failure(QStringLiteral("The file dialog failed"));
    }

    void Answer(const QString& call) {
        Record(call, call);
        if (onShow)
            onShow();
        fileName_ = answers.empty() ? QString() : answers.front();
        filterIndex_ = filterChosen;
        if (!answers.empty())
            answers.pop_front();
    }
};
