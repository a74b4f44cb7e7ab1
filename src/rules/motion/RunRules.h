#pragma once

#include <QStringView>
#include <QtGlobal>

namespace motion {

// The wait between two steps of the automatic run, in milliseconds, for the
// text of the speed box: its leading number times 5, halves rounded to the
// even neighbour. Digits, point, plus and minus typed full-width, and the
// ideographic space (as the Japanese input method types them), count as
// their ASCII forms. No number, a
// negative one or zero gives 0 (no wait); a wait beyond the largest 32-bit
// signed value is clamped to it.
int waitForSpeedText(QStringView text);

// When the run's next step comes, on a clock in nanoseconds.
struct NextStep
{
    qint64 dueNs;  // where the run's pace puts it
    qint64 waitNs; // how long to wait for it from now
};

// Steps keep the chosen pace: each is due an interval after the one before
// was due, so the time a step takes to draw, and a wake-up that comes late,
// come off the next wait instead of adding up. A run a little behind (less
// than an interval: a slow machine's long frame) makes the time up over the
// next waits, none shorter than half an interval, so that no step follows
// the one before too closely to be seen. A run further behind (a stalled or
// suspended machine) takes up its pace afresh: the next step comes a full
// interval from now. `lastDueNs` is when the step just taken was due,
// `nowNs` the clock after it.
NextStep nextStep(qint64 lastDueNs, qint64 nowNs, qint64 intervalNs);

} // namespace motion
