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

struct Waiter::Wait {
    QEventLoop loop;
    bool cut = false;
};

void Waiter::wait(qint64 ms)
{
    if (ms <= 0 || m_abandoned)
        return;
    Wait current;
    Wait *outer = std::exchange(m_current, &current);
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    QObject::connect(&deadline, &QTimer::timeout, &current.loop, &QEventLoop::quit);
    // QTimer takes an int interval; a longer wait is made of several.
    constexpr qint64 longestTimer = 24 * 60 * 60 * 1000;
    const qint64 end = tickCount() + ms;
    for (qint64 left = ms; left > 0 && !m_abandoned && !current.cut; left = end - tickCount()) {
        deadline.start(int(std::min(left, longestTimer)));
        if (current.loop.exec() < 0)
            break; // the application is quitting: no loop will run any more
    }
    m_current = outer;
}

void Waiter::cutShort()
{
    if (!m_current)
        return;
    m_current->cut = true;
    m_current->loop.quit();
}

void Waiter::abandon()
{
    m_abandoned = true;
    if (m_current)
        m_current->loop.quit();
}

} // namespace ui
