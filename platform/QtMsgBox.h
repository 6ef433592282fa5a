#pragma once

#include "platform/MsgBox.h"

#include <QPointer>
#include <QWidget>

// A modal QMessageBox. The text is shown as plain text, every CR LF, lone CR or lone LF as one
// line break. Closing the box without a button counts as OK, or as No for a question.
class QtMsgBox final : public MsgBox {
public:
    explicit QtMsgBox(QWidget* parent = nullptr);

    // Boxes are centred on, and modal to, this window once it exists.
    void SetParentWindow(QWidget* parent) { parent_ = parent; }

    Task<MsgBoxResult> Show(const QString& text, int style,
                            const std::optional<QString>& caption = std::nullopt) override;

private:
    QPointer<QWidget> parent_;
};
