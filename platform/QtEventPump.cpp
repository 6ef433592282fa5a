#include "platform/QtEventPump.h"

#include <QCoreApplication>

void QtEventPump::DoEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}
