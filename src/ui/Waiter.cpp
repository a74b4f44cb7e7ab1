#include "Waiter.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <utility>

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

void Waiter::wait(qint64 ms)
{
    if (ms <= 0 || m_abandoned)
        return;
    QEventLoop loop;
    QEventLoop *outer = std::exchange(m_loop, &loop);
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    // QTimer takes an int interval; a longer wait is made of several.
    constexpr qint64 longestTimer = 24 * 60 * 60 * 1000;
    const qint64 end = tickCount() + ms;
    for (qint64 left = ms; left > 0 && !m_abandoned; left = end - tickCount()) {
        deadline.start(int(std::min(left, longestTimer)));
        if (loop.exec() < 0)
            break; // the application is quitting: no loop will run any more
    }
    m_loop = outer;
}

void Waiter::abandon()
{
    m_abandoned = true;
    if (m_loop)
        m_loop->quit();
}

} // namespace ui
