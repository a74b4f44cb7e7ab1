#include "CanvasRows.h"

#include "PixelRows.h"

#include <algorithm>

namespace ui {
namespace {

// Rectangles up to this many device pixels wide (an upright line 2 px
// thick at scale 4, a row of a 45-degree line 2 px thick at scale 2.5) are
// written without a call per row.
constexpr int narrowBand = 8;

// Writes `value` into `rows` rows of `width` pixels, `stride` pixels apart,
// for a width known here; says whether any pixel changed. Rows are compared
// only until one differs: after it, they are just written.
template<int width>
bool fillNarrow(QRgb *row, int rows, qsizetype stride, QRgb value)
{
    QRgb differing = 0;
    int y = 0;
    for (; y < rows && !differing; ++y, row += stride)
        for (int x = 0; x < width; ++x) {
            differing |= row[x] ^ value;
            row[x] = value;
        }
    for (; y < rows; ++y, row += stride)
        for (int x = 0; x < width; ++x)
            row[x] = value;
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
    static_assert(narrowBand == 8);
    switch (width) {
    case 1: return fillNarrow<1>(row, rows, m_stride, value);
    case 2: return fillNarrow<2>(row, rows, m_stride, value);
    case 3: return fillNarrow<3>(row, rows, m_stride, value);
    case 4: return fillNarrow<4>(row, rows, m_stride, value);
    case 5: return fillNarrow<5>(row, rows, m_stride, value);
    case 6: return fillNarrow<6>(row, rows, m_stride, value);
    case 7: return fillNarrow<7>(row, rows, m_stride, value);
    case 8: return fillNarrow<8>(row, rows, m_stride, value);
    default: break;
    }
    // Wider rows are compared only until one has changed.
    int y = 0;
    for (; y < rows; ++y, row += m_stride)
        if (fillPixelsChanged(row, width, value))
            break;
    if (y == rows)
        return false;
    for (++y, row += m_stride; y < rows; ++y, row += m_stride)
        fillPixels(row, width, value);
    return true;
}

} // namespace ui
