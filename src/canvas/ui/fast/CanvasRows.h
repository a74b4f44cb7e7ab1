#pragma once

#include <QImage>

namespace ui {

// The device pixels of an RGB32 canvas, written straight into its memory a
// rectangle at a time. Reaching the pixels detaches a canvas that shares
// them, so one of these serves all the rectangles of a figure (the rows of
// a slanted line) with a single look-up. It holds the canvas's memory: the
// canvas must not be replaced or copied from while one is in use.
class CanvasRows
{
public:
    explicit CanvasRows(QImage &canvas);

    // Writes `value` into the device pixels x0..x1-1 of rows y0..y1-1,
    // clipped to the canvas, and says whether any of them changed.
    bool fill(int x0, int x1, int y0, int y1, QRgb value);

private:
    QRgb *m_bits;
    qsizetype m_stride; // pixels from the start of a row to the next
    int m_width;
    int m_height;
};

} // namespace ui
