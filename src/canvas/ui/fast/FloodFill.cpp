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
    auto remember = [&](int y, int left, int end) {
        int &latest = m_latestRun[std::size_t(y)];
        m_runs.push_back({y, left, end, latest});
        latest = int(m_runs.size()) - 1;
    };

    int seedLeft = seed.x();
    while (seedLeft > 0 && seedRow[seedLeft - 1] != stop)
        seedRow[--seedLeft] = paint;
    const int seedEnd = seed.x() + fillUntil(seedRow + seed.x(), w - seed.x(), stop, paint);
    remember(seed.y(), seedLeft, seedEnd);
    push(seed.y(), seedLeft, seedEnd - 1, -1);
    push(seed.y(), seedLeft, seedEnd - 1, 1);
    while (!m_pending.empty()) {
        Span span = m_pending.back();
        m_pending.pop_back();
        // From run to run away from the span: a row's first run goes on
        // at once, the rest of the row's span waits on the stack.
        for (;;) {
            const int y = span.y + span.dy;
            QRgb *const r = bits + y * stride;
            const int latest = m_latestRun[std::size_t(y)];
            // The span's first open pixel that no run of this row holds.
            int x = span.left;
            for (; x <= span.right; ++x) {
                if (r[x] == stop)
                    continue;
                int known = latest;
                while (known != noRun
                       && (x < m_runs[std::size_t(known)].left || x >= m_runs[std::size_t(known)].end))
                    known = m_runs[std::size_t(known)].previous;
                if (known == noRun)
                    break;
                x = m_runs[std::size_t(known)].end; // closed, or past the image
            }
            if (x > span.right)
                break;
            // The run through x; only at the span's start may it reach
            // left of x, elsewhere the pixel left of x is closed.
            int left = x;
            if (x == span.left)
                while (left > 0 && r[left - 1] != stop)
                    r[--left] = paint;
            const int end = x + fillUntil(r + x, w - x, stop, paint);
            remember(y, left, end);
            // Back where the run reaches past the span; the span's pixels
            // past the run's end (a closed pixel) may hold more runs.
            if (left < span.left)
                push(y, left, span.left - 1, -span.dy);
            if (end - 1 > span.right)
                push(y, span.right + 1, end - 1, -span.dy);
            if (end + 1 <= span.right)
                m_pending.push_back({span.y, end + 1, span.right, span.dy});
            if (y + span.dy < 0 || y + span.dy >= h)
                break;
            span = {y, left, end - 1, span.dy};
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
