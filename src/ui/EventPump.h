#pragma once

#include <QtGlobal>

namespace ui {

// Milliseconds since the program started, from a monotonic 64-bit clock.
qint64 tickCount();

// Waits `ms` milliseconds while window events keep being processed and their
// handlers run. The wait sleeps in a nested event loop until an event arrives
// or the deadline passes; it never spins. A wait of 0 or less returns at once
// without processing anything. It also returns early when the application is
// asked to quit.
void waitProcessingEvents(qint64 ms);

} // namespace ui
