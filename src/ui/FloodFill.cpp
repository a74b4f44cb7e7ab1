#include "FloodFill.h"

#include <algorithm>

namespace ui {
namespace {

constexpr QRgb rgbMask = 0x00ffffff;

} // namespace

bool floodFillBorder(QImage &image, QPoint seed, QRgb border, QRgb fill)
{
    FloodFiller filler;
    return filler.fill(image, seed, border, fill);
}

bool FloodFiller::fill(QImage &image, QPoint seed, QRgb border, QRgb fill)
{
    m_filled = {};
    if (image.depth() != 32 || !image.rect().contains(seed))
        return false;
    const int w = image.width();
    const int h = image.height();
    const std::size_t pixels = std::size_t(w) * std::size_t(h);
    if (m_stamps.size() != pixels) {
        m_stamps.assign(pixels, 0);
        m_generation = 0;
    }
    if (++m_generation == 0) { // wrapped: old stamps could pass for new ones
        std::fill(m_stamps.begin(), m_stamps.end(), 0);
        m_generation = 1;
    }
    const quint16 done = m_generation;
    const QRgb stop = border & rgbMask;
    const QRgb paint = 0xff000000u | (fill & rgbMask);

    // Pixels painted by this fill are stamped, so pixels that already had
    // the fill colour are still crossed but never queued twice. Only a pixel
    // of the fill colour needs its stamp looked at: any other colour has not
    // been painted yet.
    QRgb *const bits = reinterpret_cast<QRgb *>(image.bits());
    const qsizetype stride = image.bytesPerLine() / qsizetype(sizeof(QRgb));
    quint16 *const stamps = m_stamps.data();
    const QRgb painted = paint & rgbMask;
    auto open = [&](int x, int y) {
        const QRgb c = bits[y * stride + x] & rgbMask;
        return c != stop && (c != painted || stamps[std::size_t(y) * std::size_t(w) + std::size_t(x)] != done);
    };
    int top = seed.y(), bottom = seed.y(), leftmost = seed.x(), rightmost = seed.x();

    if (!open(seed.x(), seed.y()))
        return false;
    auto set = [&](int x, int y) {
        bits[y * stride + x] = paint;
        stamps[std::size_t(y) * std::size_t(w) + std::size_t(x)] = done;
    };

    // Span fill: every queued span of row `y - dy` has been painted, and row
    // `y` next to it is to be explored. Rows are scanned once from each side
    // that reaches them, not again from the row that was just painted.
    struct Span {
        int y, left, right, dy;
    };
    std::vector<Span> pending;
    auto push = [&](int y, int left, int right, int dy) {
        if (y + dy >= 0 && y + dy < h)
            pending.push_back({y, left, right, dy});
    };
    push(seed.y(), seed.x(), seed.x(), 1);
    push(seed.y() + 1, seed.x(), seed.x(), -1); // the seed's own row, first
    while (!pending.empty()) {
        const Span span = pending.back();
        pending.pop_back();
        const int y = span.y + span.dy;
        const int dy = span.dy;
        int x = span.left;
        while (x >= 0 && open(x, y)) {
            set(x, y);
            --x;
        }
        bool inRun = x < span.left; // the span's left end opened into a run
        int runStart = x + 1;
        if (inRun) {
            if (runStart < span.left)
                push(y, runStart, span.left - 1, -dy); // spills back round the left end
            x = span.left + 1;
        }
        for (;;) {
            if (inRun) {
                while (x < w && open(x, y)) {
                    set(x, y);
                    ++x;
                }
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                leftmost = std::min(leftmost, runStart);
                rightmost = std::max(rightmost, x - 1);
                push(y, runStart, x - 1, dy);
                if (x > span.right + 1)
                    push(y, span.right + 1, x - 1, -dy); // spills back round the right end
            }
            // On to the next open pixel under the span, if any.
            for (++x; x <= span.right && !open(x, y); ++x) {
            }
            if (x > span.right)
                break;
            runStart = x;
            inRun = true;
        }
    }
    m_filled = QRect(QPoint(leftmost, top), QPoint(rightmost, bottom));
    return true;
}

} // namespace ui
