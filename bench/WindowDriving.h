#pragma once

#include "app/Form1.h"
#include "app/MousePointer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWindow>

#include <cstdio>

// What the event loop does once a button's procedure has returned: it handles what is pending,
// waits out any work the window still does elsewhere (the hourglass shows it), and paints.
inline void Settle(Form1& window) {
    QCoreApplication::processEvents();
    while (window.Busy() || window.MousePointer() == MousePointer::Hourglass)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    window.repaint();
}

inline void WaitUntilExposed(QWidget& window) {
    for (int tries = 0; tries < 500; ++tries) {
        if (window.windowHandle() && window.windowHandle()->isExposed())
            return;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    std::fprintf(stderr, "the window was never exposed; nothing may be painted\n");
}

// The window's event loop runs for `ms` milliseconds, as it does while the user pauses: it
// paints, ticks the work beside it and resumes what that work hands back.
inline void Linger(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}
