// F8 and Shift+F8 (Alt+Down and Alt+Up) anywhere in the window: no click into a pane is needed
// first, after a load, after "Done." or at start-up.
#include "app/Form1.h"
#include "platform/PaneWidget.h"

#include <QApplication>

void Form1::GoToDifference(bool forward) {
    if (!RichTextBox1.Visible())
        return; // the lists are on show, not the marks
    PaneWidget* view = ViewOf(lastSide_ == 1 ? RichTextBox1 : RichTextBox2);
    view->setFocus(Qt::ShortcutFocusReason);
    view->GoToDifference(forward);
}
