#include "EventPump.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>

namespace ui {

qint64 tickCount()
{
    static const QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return clock.elapsed();
}

void waitProcessingEvents(qint64 ms)
{
    if (ms <= 0)
        return;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    // QTimer takes an int interval; a longer wait is made of several.
    constexpr qint64 longestTimer = 24 * 60 * 60 * 1000;
    const qint64 end = tickCount() + ms;
    for (qint64 left = ms; left > 0; left = end - tickCount()) {
        deadline.start(int(std::min(left, longestTimer)));
        if (loop.exec() != 0)
            return; // the application is quitting
    }
}

} // namespace ui
