#include "FloodFill.h"

#include "PixelRows.h"

#include <algorithm>

namespace ui {
namespace {

constexpr QRgb rgbMask = 0x00ffffff;
constexpr QRgb opaque = 0xff000000;

} // namespace

bool floodFillBorder(QImage &image, QPoint seed, QRgb border, QRgb fill)
{
    FloodFiller filler;
    return filler.fill(image, seed, border, fill);
}

// A span fill that paints each run in its final colour as it finds the
// run's end. The pixels cannot tell what the fill has painted (a pixel may
// have had the fill colour before, and is crossed like any other colour),
// so the fill remembers its runs, row by row. Every run is a whole stretch
// of open pixels between two border pixels (or the image's edges), so an
// open pixel was painted exactly when it lies in one of its row's runs.
bool FloodFiller::fill(QImage &image, QPoint seed, QRgb border, QRgb fill)
{
    m_filled = {};
    if (image.format() != QImage::Format_RGB32 || !image.rect().contains(seed))
        return false;
    const int w = image.width();
    const int h = image.height();
    // Every pixel of an RGB32 image is opaque: whole values compare.
    const QRgb stop = opaque | (border & rgbMask);
    const QRgb paint = opaque | (fill & rgbMask);
    QRgb *const bits = reinterpret_cast<QRgb *>(image.bits());
    const qsizetype stride = image.bytesPerLine() / qsizetype(sizeof(QRgb));
    QRgb *const seedRow = bits + seed.y() * stride;
    if (seedRow[seed.x()] == stop)
        return false;

    // The rows of the latest fill forget its runs.
    for (const Run &run : m_runs)
        m_latestRun[std::size_t(run.y)] = noRun;
    if (m_latestRun.size() < std::size_t(h))
        m_latestRun.resize(std::size_t(h), noRun);
    m_runs.clear();
    m_pending.clear();
    auto push = [&](int y, int left, int right, int dy) {
        if (y + dy >= 0 && y + dy < h)
            m_pending.push_back({y, left, right, dy});
    };
    // The seed's row is explored as from a row beside it; its run (dy 0)
    // goes on both ways.
    m_pending.push_back({seed.y(), seed.x(), seed.x(), 0});
    while (!m_pending.empty()) {
        const Span span = m_pending.back();
        m_pending.pop_back();
        const int y = span.y + span.dy;
        QRgb *const r = bits + y * stride;
        int &latest = m_latestRun[std::size_t(y)];
        for (int x = span.left; x <= span.right; ++x) {
            if (r[x] == stop)
                continue;
            // An open pixel in a run of this row: painted already.
            int known = latest;
            while (known != noRun && (x < m_runs[std::size_t(known)].left || x >= m_runs[std::size_t(known)].end))
                known = m_runs[std::size_t(known)].previous;
            if (known != noRun) {
                x = m_runs[std::size_t(known)].end; // closed, or past the image
                continue;
            }
            // The run through x; only at the span's start may it reach
            // left of x, elsewhere the pixel left of x is closed.
            int left = x;
            if (x == span.left)
                while (left > 0 && r[left - 1] != stop)
                    r[--left] = paint;
            const int end = x + fillUntil(r + x, w - x, stop, paint);
            m_runs.push_back({y, left, end, latest});
            latest = int(m_runs.size()) - 1;
            if (span.dy == 0) {
                push(y, left, end - 1, 1);
                push(y, left, end - 1, -1);
                break;
            }
            // Onwards from the run, and back where it reaches past the span.
            push(y, left, end - 1, span.dy);
            if (left < span.left)
                push(y, left, span.left - 1, -span.dy);
            if (end - 1 > span.right)
                push(y, span.right + 1, end - 1, -span.dy);
            x = end; // closed, or past the image
        }
    }
    int top = h, bottom = -1, leftmost = w, rightmost = -1;
    for (const Run &run : m_runs) {
        top = std::min(top, run.y);
        bottom = std::max(bottom, run.y);
        leftmost = std::min(leftmost, run.left);
        rightmost = std::max(rightmost, run.end - 1);
    }
    m_filled = QRect(QPoint(leftmost, top), QPoint(rightmost, bottom));
    return true;
}

} // namespace ui
