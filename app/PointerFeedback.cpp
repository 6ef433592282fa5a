// The window pointer: the hand over the buttons, the default elsewhere, and the hourglass that
// long commands set, which the pointer feedback never overrides.
#include "app/Form1.h"
#include "app/MousePointer.h"
#include "platform/PaneWidget.h"

#include <QEvent>

void Form1::WatchPointer(QWidget* control, bool isButton) {
    control->setMouseTracking(true);
    control->setProperty("pointerHand", isButton);
    control->installEventFilter(this);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
        if (watched == client_)
            Form_MouseMove();
        else if (watched->property("pointerHand").toBool())
            PointerOverButton();
        else
            PointerReset();
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1::Form_MouseMove() {
    PointerReset();
}

void Form1::PointerOverButton() {
    if (MousePointer() != MousePointer::Hourglass)
        SetMousePointer(MousePointer::Custom);
}

void Form1::PointerReset() {
    if (MousePointer() != MousePointer::Hourglass)
        SetMousePointer(MousePointer::Default);
}

void Form1::SetMousePointer(int pointer) {
    if (pointer == mousePointer_)
        return;
    mousePointer_ = pointer;
    ApplyPointer();
}

// The window's pointer shows over every control; only the text panes have a pointer of their own
// (the text cursor), which gives way while the window's is not the default.
void Form1::ApplyPointer() {
    QCursor shape;
    switch (mousePointer_) {
    case MousePointer::Hourglass:
        shape = QCursor(Qt::WaitCursor);
        break;
    case MousePointer::Custom:
        shape = mouseIcon_.value_or(QCursor(Qt::PointingHandCursor));
        break;
    default:
        unsetCursor();
        for (Pane* pane : {&RichTextBox1, &RichTextBox2, &RichTextBox3, &RichTextBox4})
            ViewOf(*pane)->viewport()->setCursor(Qt::IBeamCursor);
        return;
    }
    setCursor(shape);
    for (Pane* pane : {&RichTextBox1, &RichTextBox2, &RichTextBox3, &RichTextBox4})
        ViewOf(*pane)->viewport()->setCursor(shape);
}
