#pragma once

#include <QtGlobal>

class QEventLoop;

namespace ui {

// Milliseconds since the program started, from a monotonic 64-bit clock.
qint64 tickCount();

// Waits while window events keep being processed and their handlers run.
// A wait sleeps in a nested event loop until an event arrives or the
// deadline passes; it never spins. A wait of 0 or less returns at once
// without processing anything. Once abandoned (the program is ending), the
// wait in progress returns and every later one returns at once.
class Waiter
{
public:
    void wait(qint64 ms);
    void abandon();
    bool isAbandoned() const { return m_abandoned; }

private:
    QEventLoop *m_loop = nullptr; // the nested loop of the wait in progress
    bool m_abandoned = false;
};

} // namespace ui
