#pragma once

#include "platform/Task.h"

#include <QString>

#include <optional>

// The button-and-icon codes a box is shown with.
namespace MsgBoxStyle {
inline constexpr int OkOnly = 0;
inline constexpr int YesNo = 4; // Yes is the default button
inline constexpr int Exclamation = 48;
} // namespace MsgBoxStyle

enum class MsgBoxResult { Ok = 1, Yes = 6, No = 7 };

// A modal message box. Without a caption of its own it shows the application title. The
// procedure that shows it waits, suspended, for the button pressed; the window's other controls
// take no input meanwhile.
class MsgBox {
public:
    virtual ~MsgBox() = default;
    virtual Task<MsgBoxResult> Show(const QString& text, int style,
                                    const std::optional<QString>& caption = std::nullopt) = 0;
};
