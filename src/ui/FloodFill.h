#pragma once

#include <QImage>
#include <QPoint>

#include <vector>

namespace ui {

// Boundary flood fill: from the seed, paints `fill` into every pixel that is
// 4-connected to the seed and is not of the `border` colour; pixels of any
// other colour are painted over. The fill never leaves the image. A seed
// outside the image or on a border pixel paints nothing and returns false.
// Works on RGB32 / ARGB32 images; colours are compared without alpha.
bool floodFillBorder(QImage &image, QPoint seed, QRgb border, QRgb fill);

// The same fill, keeping its bookkeeping between calls: a surface that
// fills often reuses one of these instead of setting up a fresh one.
class FloodFiller
{
public:
    bool fill(QImage &image, QPoint seed, QRgb border, QRgb fill);
    // The bounding box of the pixels the latest fill painted (image pixels).
    QRect lastFilled() const { return m_filled; }

private:
    QRect m_filled;
    // A pixel is done in this fill when its stamp equals the generation;
    // stamps are only cleared when the generation wraps around.
    std::vector<quint16> m_stamps;
    quint16 m_generation = 0;
};

} // namespace ui
