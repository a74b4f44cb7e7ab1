#pragma once

#include <QImage>
#include <QPoint>

#include <vector>

namespace ui {

// Boundary flood fill: from the seed, paints `fill` into every pixel that is
// 4-connected to the seed and is not of the `border` colour; pixels of any
// other colour are painted over, the fill colour too. The fill never leaves
// the image. A seed outside the image or on a border pixel paints nothing
// and returns false. Works on RGB32 images (every pixel opaque); colours
// are compared without alpha. Any other format paints nothing.
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
    // A row y + dy still to be explored next to the painted run
    // left..right of row y.
    struct Span {
        int y, left, right, dy;
    };
    // A run of pixels painted by the fill, x from left to end - 1 of row y,
    // and the run of the same row painted before it (noRun: none).
    struct Run {
        int y, left, end, previous;
    };
    static constexpr int noRun = -1;
    QRect m_filled;
    std::vector<Span> m_pending;
    std::vector<Run> m_runs;
    std::vector<int> m_latestRun; // by row: the latest run painted in it, or noRun
};

} // namespace ui
