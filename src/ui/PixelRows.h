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

// Writes `mark` over the pixels from `pixels` on, at most `count`, that are
// opaque and not `stop` (an opaque colour), up to the first that is not,
// and returns how many it wrote. Pixels are taken to have alpha 0xff or 0
// (`mark` has alpha 0, which no pixel of an RGB32 canvas has, so marked
// pixels end later runs); only alpha's top bit is read.
int markOpaqueRun(QRgb *pixels, int count, QRgb stop, QRgb mark);

} // namespace ui
