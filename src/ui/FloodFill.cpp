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

// A span fill that marks what it has painted in the pixels themselves: the
// runs are first written in the fill colour with alpha 0, which no pixel of
// an RGB32 image has, so a pixel is open while it is opaque and not of the
// border colour. Pixels that had the fill colour before are open too and
// are crossed like any other colour. At the end the runs are made opaque.
bool FloodFiller::fill(QImage &image, QPoint seed, QRgb border, QRgb fill)
{
    m_filled = {};
    if (image.format() != QImage::Format_RGB32 || !image.rect().contains(seed))
        return false;
    const int w = image.width();
    const int h = image.height();
    const QRgb stop = opaque | (border & rgbMask);
    const QRgb marked = fill & rgbMask;
    auto open = [stop](QRgb p) { return p >= opaque && p != stop; };
    QRgb *const bits = reinterpret_cast<QRgb *>(image.bits());
    const qsizetype stride = image.bytesPerLine() / qsizetype(sizeof(QRgb));
    auto row = [&](int y) { return bits + y * stride; };

    if (!open(row(seed.y())[seed.x()]))
        return false;
    m_pending.clear();
    m_runs.clear();
    auto push = [&](int y, int left, int right, int dy) {
        if (y + dy >= 0 && y + dy < h)
            m_pending.push_back({y, left, right, dy});
    };
    // Marks the run of open pixels through x (its left end looked for only
    // when asked: elsewhere the pixel left of x is known to be closed) and
    // returns where it begins and ends.
    auto paintRun = [&](QRgb *r, int y, int x, bool extendLeft) {
        int left = x;
        if (extendLeft)
            while (left > 0 && open(r[left - 1]))
                r[--left] = marked;
        const int end = x + markOpaqueRun(r + x, w - x, stop, marked);
        m_runs.push_back({y, left, end});
        return std::pair{left, end};
    };

    const auto [seedLeft, seedEnd] = paintRun(row(seed.y()), seed.y(), seed.x(), true);
    push(seed.y(), seedLeft, seedEnd - 1, 1);
    push(seed.y(), seedLeft, seedEnd - 1, -1);
    while (!m_pending.empty()) {
        const Span span = m_pending.back();
        m_pending.pop_back();
        const int y = span.y + span.dy;
        QRgb *const r = row(y);
        for (int x = span.left; x <= span.right; ++x) {
            if (!open(r[x]))
                continue;
            const auto [left, end] = paintRun(r, y, x, x == span.left);
            // Onwards from the run, and back where it reaches past the span.
            push(y, left, end - 1, span.dy);
            if (left < span.left)
                push(y, left, span.left - 1, -span.dy);
            if (end - 1 > span.right)
                push(y, span.right + 1, end - 1, -span.dy);
            x = end; // closed, or past the image
        }
    }

    const QRgb paint = opaque | marked;
    int top = h, bottom = -1, leftmost = w, rightmost = -1;
    for (const Run &run : m_runs) {
        fillPixels(row(run.y) + run.left, run.end - run.left, paint);
        top = std::min(top, run.y);
        bottom = std::max(bottom, run.y);
        leftmost = std::min(leftmost, run.left);
        rightmost = std::max(rightmost, run.end - 1);
    }
    m_filled = QRect(QPoint(leftmost, top), QPoint(rightmost, bottom));
    return true;
}

} // namespace ui
