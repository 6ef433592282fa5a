#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

// Answers the next modal dialog of type Dialog from inside its own event loop, as a user would,
// so that a test can call code that opens a real modal dialog without waiting for anyone.
// Watching stops with the object. A modal dialog that stays open too long (another one in the
// way, or the answered one still up) is rejected and fails the test, so that nothing can hang.
template <typename Dialog> class ModalAnswer {
public:
    explicit ModalAnswer(std::function<void(Dialog&)> answer) : answer_(std::move(answer)) {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Look(); });
        timer_.start();
    }

    bool Answered() const { return answered_; }

private:
    static constexpr int kPatience = 500; // looks at a dialog left open before giving up on it

    void Look() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            looksAtOpenDialog_ = 0;
            return;
        }
        auto* dialog = qobject_cast<Dialog*>(modal);
        if (!answered_ && dialog && dialog->isVisible()) {
            answered_ = true;
            // Answered outside this timer's own call, so that the watch goes on should the
            // answer open another modal dialog.
            QTimer::singleShot(0, dialog, [this, dialog] { answer_(*dialog); });
        } else if (++looksAtOpenDialog_ > kPatience) {
            looksAtOpenDialog_ = 0;
            ADD_FAILURE() << "a modal dialog stayed open: " << modal->metaObject()->className();
            if (auto* stuck = qobject_cast<QDialog*>(modal))
                stuck->reject();
            else
                modal->close();
        }
    }

    std::function<void(Dialog&)> answer_;
    QTimer timer_;
    bool answered_ = false;
    int looksAtOpenDialog_ = 0;
};
