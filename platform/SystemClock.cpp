#include "platform/SystemClock.h"

#include <QTime>

double SecondsSinceMidnight() {
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}
