#include "CanvasRows.h"

#include "PixelRows.h"

#include <algorithm>

namespace ui {
namespace {

// Rectangles up to this many device pixels wide (an upright line 2 px
// thick at scale 2) are written without a call per row.
constexpr int narrowBand = 4;

// Writes `value` into `rows` rows of `width` pixels, `stride` pixels apart,
// for a width known here; says whether any pixel changed.
template<int width>
bool fillNarrow(QRgb *row, int rows, qsizetype stride, QRgb value)
{
    QRgb differing = 0;
    for (int y = 0; y < rows; ++y, row += stride)
        for (int x = 0; x < width; ++x) {
            differing |= row[x] ^ value;
            row[x] = value;
        }
    return differing != 0;
}

} // namespace

CanvasRows::CanvasRows(QImage &canvas)
    : m_bits(reinterpret_cast<QRgb *>(canvas.bits())),
      m_stride(canvas.bytesPerLine() / qsizetype(sizeof(QRgb))),
      m_width(canvas.width()),
      m_height(canvas.height())
{
}

bool CanvasRows::fill(int x0, int x1, int y0, int y1, QRgb value)
{
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, m_width);
    y1 = std::min(y1, m_height);
    const int width = x1 - x0, rows = y1 - y0;
    if (width <= 0 || rows <= 0)
        return false;
    QRgb *row = m_bits + y0 * m_stride + x0;
    static_assert(narrowBand == 4);
    switch (width) {
    case 1: return fillNarrow<1>(row, rows, m_stride, value);
    case 2: return fillNarrow<2>(row, rows, m_stride, value);
    case 3: return fillNarrow<3>(row, rows, m_stride, value);
    case 4: return fillNarrow<4>(row, rows, m_stride, value);
    default: break;
    }
    bool anyChanged = false;
    for (int y = 0; y < rows; ++y, row += m_stride)
        anyChanged |= fillPixelsChanged(row, width, value);
    return anyChanged;
}

} // namespace ui
