#pragma once

#include <QtGlobal>

class QEventLoop;

namespace ui {

// Milliseconds since the program started, from a monotonic 64-bit clock.
qint64 tickCount();

// Waits while window events keep being processed and their handlers run.
// A wait sleeps in a nested event loop until an event arrives or the
// deadline passes; it never spins. A wait of 0 or less returns at once
// without processing anything. A wait cut short (by a handler that runs
// inside it) returns as soon as that handler is done, as if its time had
// run out; later waits are whole. Once abandoned (the program is ending),
// the wait in progress returns and every later one returns at once.
class Waiter
{
public:
    void wait(qint64 ms);
    void cutShort();
    void abandon();
    bool isAbandoned() const { return m_abandoned; }

private:
    struct Wait; // the nested loop of one wait, and whether it was cut short
    Wait *m_current = nullptr; // the wait in progress, the innermost if nested
    bool m_abandoned = false;
};

} // namespace ui
