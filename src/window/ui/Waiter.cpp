#include "Waiter.h"

#include <QElapsedTimer>

#include <algorithm>
#include <utility>

namespace ui {

namespace {

const QElapsedTimer &programClock()
{
    static const QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return clock;
}

} // namespace

qint64 tickCount() { return programClock().elapsed(); }

qint64 tickNs() { return programClock().nsecsElapsed(); }

Waiter::Waiter()
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { expire(); });
}

void Waiter::wait(qint64 ms, std::function<void()> then)
{
    if (m_abandoned)
        return;
    m_then = std::move(then);
    m_deadline = tickCount() + std::max<qint64>(ms, 0);
    startTimer();
}

void Waiter::startTimer()
{
    // QTimer takes an int interval; a longer wait is made of several.
    constexpr qint64 longestTimer = 24 * 60 * 60 * 1000;
    m_timer.start(int(std::clamp<qint64>(m_deadline - tickCount(), 0, longestTimer)));
}

void Waiter::expire()
{
    if (!m_then)
        return;
    if (tickCount() < m_deadline) {
        startTimer(); // one slice of a long wait is over
        return;
    }
    std::exchange(m_then, nullptr)();
}

void Waiter::cutShort()
{
    if (!m_then)
        return;
    m_deadline = tickCount();
    m_timer.start(0);
}

void Waiter::abandon()
{
    m_abandoned = true;
    m_timer.stop();
    m_then = nullptr;
}

} // namespace ui
