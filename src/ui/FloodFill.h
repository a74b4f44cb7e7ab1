#pragma once

#include <QImage>
#include <QPoint>

namespace ui {

// Boundary flood fill: from the seed, paints `fill` into every pixel that is
// 4-connected to the seed and is not of the `border` colour; pixels of any
// other colour are painted over. The fill never leaves the image. A seed
// outside the image or on a border pixel paints nothing and returns false.
// Works on RGB32 / ARGB32 images; colours are compared without alpha.
bool floodFillBorder(QImage &image, QPoint seed, QRgb border, QRgb fill);

} // namespace ui
