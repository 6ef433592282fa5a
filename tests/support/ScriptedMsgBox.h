#pragma once

#include "platform/MsgBox.h"

#include <coroutine>
#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

// A message box that shows nothing: it records every box and answers from a script (OK, or Yes
// for a question, when the script has run out).
class ScriptedMsgBox final : public MsgBox {
public:
    struct Shown {
        QString text;
        int style;
        std::optional<QString> caption;
    };

    Task<MsgBoxResult> Show(const QString& text, int style,
                            const std::optional<QString>& caption) override {
        shown.push_back({text, style, caption});
        if (onShow)
            onShow(shown.back());
        if (holdOpen)
            co_await StaysOpen(open_);
        if (!answers.empty()) {
            const MsgBoxResult answer = answers.front();
            answers.pop_front();
            co_return answer;
        }
        co_return (style & 7) == 4 ? MsgBoxResult::Yes : MsgBoxResult::Ok;
    }

    std::vector<QString> Texts() const {
        std::vector<QString> texts;
        for (const Shown& box : shown)
            texts.push_back(box.text);
        return texts;
    }

    std::vector<Shown> shown;
    std::deque<MsgBoxResult> answers;
    std::function<void(const Shown&)> onShow; // runs while the box would be open
    // Boxes stay open, their procedures waiting, until the test closes them.
    bool holdOpen = false;
    bool HeldOpen() const { return open_ != nullptr; }
    void CloseHeld() { std::exchange(open_, nullptr).resume(); }

private:
    struct StaysOpen {
        explicit StaysOpen(std::coroutine_handle<>& box) : open(box) {}
        std::coroutine_handle<>& open;
        bool await_ready() const noexcept { return false; }
        void await_suspend(std::coroutine_handle<> procedure) { open = procedure; }
        void await_resume() const noexcept {}
    };

    std::coroutine_handle<> open_;
};
