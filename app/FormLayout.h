#pragma once

#include <QRect>
#include <QStringView>

#include <span>

// The window's fixed layout as designed, in twips (1/1440 inch; 15 twips make one pixel at
// 96 dots per inch). Positions are relative to the container: the window's client area or the
// frame that holds the control.
namespace FormLayout {

inline constexpr int kClientWidth = 8040;
inline constexpr int kClientHeight = 8220;

enum class Kind { Frame, Pane, Button, Option };

struct Control {
    QStringView name;
    Kind kind;
    QStringView container; // empty for the window itself
    QStringView caption;
    int left, top, width, height;
    int tabIndex;
};

// Every control, in creation order: containers before what they hold.
std::span<const Control> Controls();

// The control's rectangle in pixels within its container.
QRect PixelRect(const Control& control);
int ToPixels(int twips);

} // namespace FormLayout
