#include "platform/ModalDialog.h"

#include <QDialog>

#include <coroutine>

namespace {

struct DialogClosed {
    explicit DialogClosed(QDialog& shown) : dialog(shown) {}

    QDialog& dialog;
    int result = QDialog::Rejected;
    QMetaObject::Connection closed;

    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> procedure) {
        // Resumed among the window's later events, not from inside the dialog's own signal.
        closed =
            QObject::connect(&dialog, &QDialog::finished, &dialog, [this, procedure](int code) {
                QObject::disconnect(closed);
                result = code;
                QMetaObject::invokeMethod(
                    &dialog, [procedure] { procedure.resume(); }, Qt::QueuedConnection);
            });
        dialog.setWindowModality(Qt::ApplicationModal);
        dialog.show();
    }
    int await_resume() const noexcept { return result; }
};

} // namespace

Task<int> ShowModal(QDialog& dialog) {
    co_return co_await DialogClosed(dialog);
}
