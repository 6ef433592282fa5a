#pragma once

#include "platform/MsgBox.h"

// Without a window, a box is a message on stderr. Every box the comparisons show from here is an
// error report, so the tool counts them to tell the caller it was in trouble.
class StderrMsgBox final : public MsgBox {
public:
    MsgBoxResult Show(const QString& text, int style,
                      const std::optional<QString>& caption) override;

    int Shown() const { return shown_; }

private:
    int shown_ = 0;
};
