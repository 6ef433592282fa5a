#pragma once

#include "platform/FileDialog.h"

#include <QFileDialog>
#include <QPointer>
#include <QString>
#include <QWidget>

// The file dialog on QFileDialog. Between uses it keeps the folder of the last choice and the
// filter last picked (by position), as the platform's own dialogs do.
class QtFileDialog final : public FileDialog {
public:
    // Users get the platform's native dialog. Tests ask for Qt's own, which they can drive.
    enum class Kind { Native, QtWidgets };

    explicit QtFileDialog(QWidget* parent = nullptr, Kind kind = Kind::Native);

    // Dialogs are centred on, and modal to, this window once it exists.
    void SetParentWindow(QWidget* parent) { parent_ = parent; }

    // One file, or several with the multi-select flag; a typed name need not exist.
    Task<> ShowOpen() override;
    // One file; the dialog neither warns about an existing file nor adds an extension.
    Task<> ShowSave() override;

private:
    void SetUp(QFileDialog& dialog, QFileDialog::AcceptMode acceptMode,
               QFileDialog::FileMode fileMode) const;
    Task<QStringList> Run(QPointer<QFileDialog> dialog);

    QPointer<QWidget> parent_;
    Kind kind_;
    QString lastFolder_;
    qsizetype lastFilterIndex_ = 0;
};
