#pragma once

#include <QRgb>

namespace ui {

// Loops over runs of 32-bit pixels that the canvases are painted with,
// written so that the compiler makes vector code of them: a long run costs
// a fraction of an instruction per pixel (the clears, the fills' runs, the
// bands of lines).

// Writes `value` into `count` pixels from `pixels`.
void fillPixels(QRgb *pixels, int count, QRgb value);

// The same, and says whether any of the pixels held another value before.
bool fillPixelsChanged(QRgb *pixels, int count, QRgb value);

// Writes `value` over the pixels from `pixels` on, at most `count`, up to
// the first that is `stop`, and returns how many it wrote: a flood fill's
// run, painted as its end is found. Pixels and `stop` are opaque, so whole
// values are compared.
int fillUntil(QRgb *pixels, int count, QRgb stop, QRgb value);

} // namespace ui
