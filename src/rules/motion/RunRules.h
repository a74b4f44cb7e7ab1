#pragma once

#include <QStringView>

namespace motion {

// The wait between two steps of the automatic run, in milliseconds, for the
// text of the speed box: its leading number times 5, halves rounded to the
// even neighbour. Digits, point, plus and minus typed full-width, and the
// ideographic space (as the Japanese input method types them), count as
// their ASCII forms. No number, a
// negative one or zero gives 0 (no wait); a wait beyond the largest 32-bit
// signed value is clamped to it.
int waitForSpeedText(QStringView text);

} // namespace motion
