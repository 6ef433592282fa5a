#pragma once

#include "platform/Task.h"

#include <QString>

// Flag values a file dialog is set up with.
namespace FileDialogFlags {
inline constexpr int ReadOnly = 0x1;           // the read-only choice starts switched on
inline constexpr int AllowMultiSelect = 0x200; // several files may be picked at once
inline constexpr int Explorer = 0x80000;       // a multiple selection comes back NUL-separated
inline constexpr int LongNames = 0x200000;     // long file names
} // namespace FileDialogFlags

// The window's one file dialog, shared by the load and save buttons. Its properties are set
// before each use; after ShowOpen or ShowSave, FileName holds the choice:
// - empty after a cancel;
// - one file's full path;
// - for several files: the folder, then each file's name, separated by NUL, no NUL at the end.
// Whatever the dialog remembers between uses (its folder, the filter last chosen) it keeps.
class FileDialog {
public:
    virtual ~FileDialog() = default;

    QString FileName() const { return fileName_; }
    int Flags() const { return flags_; }
    QString DialogTitle() const { return dialogTitle_; }
    // Pairs of description and pattern, each followed by "|":
    // "Text Files (*.txt)|*.txt|All Files (*.*)|*.*|".
    QString Filter() const { return filter_; }
    // Which pair of the filter (from 0) was in force when the user chose, after ShowOpen or
    // ShowSave.
    int FilterIndex() const { return filterIndex_; }

    virtual void SetFileName(const QString& fileName) { fileName_ = fileName; }
    virtual void SetFlags(int flags) { flags_ = flags; }
    virtual void SetDialogTitle(const QString& title) { dialogTitle_ = title; }
    virtual void SetFilter(const QString& filter) { filter_ = filter; }

    // Modal: the procedure that shows it waits, suspended, until the user has chosen or cancelled.
    // Throw Failure if no dialog can be shown.
    virtual Task<> ShowOpen() = 0;
    virtual Task<> ShowSave() = 0;

protected:
    QString fileName_;
    int flags_ = 0;
    QString dialogTitle_;
    QString filter_;
    int filterIndex_ = 0;
};
