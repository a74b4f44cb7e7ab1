#pragma once

#include <QTimer>
#include <QtGlobal>

#include <functional>

namespace ui {

// Milliseconds and nanoseconds since the program started, from one
// monotonic 64-bit clock: the automatic run's pace and its waits read it.
qint64 tickCount();
qint64 tickNs();

// The automatic run's wait between two steps. The run hands its going on
// to the wait and returns to the event loop, which handles the window's
// events (repaints, the pupil's clicks and keys) until the deadline, then
// calls the going on. Nothing spins and no event loop is nested, so the
// same code runs on the desktop and in the browser, where a nested loop
// would need the whole program's stack to be suspended.
class Waiter
{
public:
    Waiter();

    // Calls `then` from the event loop once `ms` have passed (ms > 0). A
    // wait in progress is replaced; once abandoned, nothing is called.
    void wait(qint64 ms, std::function<void()> then);
    // The wait in progress ends now: its going on runs at the event loop's
    // next turn, after the handler that cut it short.
    void cutShort();
    // The program is ending: the wait in progress and every later one are
    // dropped without going on.
    void abandon();

private:
    void startTimer();
    void expire();

    QTimer m_timer;              // precise, single shot: the next slice of the wait
    qint64 m_deadline = 0;       // on tickCount()
    std::function<void()> m_then;
    bool m_abandoned = false;
};

} // namespace ui
