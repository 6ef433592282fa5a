#include "app/FormLayout.h"

#include <cmath>

namespace FormLayout {

namespace {

using enum Kind;

constexpr Control kControls[] = {
    {u"Frame1", Frame, u"", u"Text File #1", 120, 120, 3840, 4815, 13},
    {u"Frame3", Frame, u"", u"Text File #2", 4080, 120, 3840, 4815, 14},
    {u"RichTextBox1", Pane, u"Frame1", u"", 240, 300, 3360, 4335, 0},
    {u"RichTextBox3", Pane, u"Frame1", u"", 240, 300, 3360, 1215, 15},
    {u"RichTextBox2", Pane, u"Frame3", u"", 240, 300, 3360, 4335, 1},
    {u"RichTextBox4", Pane, u"Frame3", u"", 240, 300, 3360, 1215, 16},
    {u"PushButton3", Button, u"", u"Load Text File #1", 120, 5050, 3840, 405, 2},
    {u"PushButton4", Button, u"", u"Load Text File #2", 4080, 5050, 3840, 405, 3},
    {u"PushButton2", Button, u"", u"Save Results #1", 120, 5560, 3840, 405, 4},
    {u"PushButton5", Button, u"", u"Save Results #2", 4080, 5560, 3840, 405, 5},
    {u"PushButton7", Button, u"", u"Clear Text Above", 120, 6070, 3840, 405, 6},
    {u"PushButton9", Button, u"", u"Load Sample/Example Files", 4080, 6070, 3840, 405, 7},
    {u"PushButton1", Button, u"", u"Find Differences (Lines)", 120, 6580, 3840, 405, 8},
    {u"PushButton6", Button, u"", u"Find Differences (Words)", 4080, 6580, 3840, 405, 10},
    {u"Frame2", Frame, u"", u"Display Options (Use after clicking Start buttons)", 120, 7050, 7800,
     1065, 9},
    {u"Option2", Option, u"Frame2", u"Display only the lines with differences", 240, 300, 5655, 255,
     11},
    {u"Option1", Option, u"Frame2", u"Display all lines but highlight the lines with differences",
     240, 650, 7455, 255, 12},
};

} // namespace

std::span<const Control> Controls() {
    return kControls;
}

int ToPixels(int twips) {
    return static_cast<int>(std::lround(twips / 15.0));
}

QRect PixelRect(const Control& control) {
    return QRect(ToPixels(control.left), ToPixels(control.top), ToPixels(control.width),
                 ToPixels(control.height));
}

} // namespace FormLayout
