#include "FloodFill.h"

#include <vector>

namespace ui {
namespace {

constexpr QRgb rgbMask = 0x00ffffff;

// One bit per pixel: set once a pixel has been painted, so that pixels that
// already had the fill colour are still crossed but never queued twice.
class VisitedBits
{
public:
    explicit VisitedBits(qsizetype count) : m_words(std::size_t((count + 63) / 64), 0) {}
    bool test(qsizetype i) const { return (m_words[std::size_t(i >> 6)] >> (i & 63)) & 1u; }
    void set(qsizetype i) { m_words[std::size_t(i >> 6)] |= quint64(1) << (i & 63); }

private:
    std::vector<quint64> m_words;
};

} // namespace

bool floodFillBorder(QImage &image, QPoint seed, QRgb border, QRgb fill)
{
    if (image.depth() != 32 || !image.rect().contains(seed))
        return false;
    const int w = image.width();
    const int h = image.height();
    const QRgb stop = border & rgbMask;
    const QRgb paint = 0xff000000u | (fill & rgbMask);

    auto row = [&](int y) { return reinterpret_cast<QRgb *>(image.scanLine(y)); };
    VisitedBits visited(qsizetype(w) * h);
    auto open = [&](const QRgb *line, int x, int y) {
        return (line[x] & rgbMask) != stop && !visited.test(qsizetype(y) * w + x);
    };

    if (!open(row(seed.y()), seed.x(), seed.y()))
        return false;

    std::vector<QPoint> pending{seed};
    while (!pending.empty()) {
        const QPoint p = pending.back();
        pending.pop_back();
        QRgb *line = row(p.y());
        if (!open(line, p.x(), p.y()))
            continue;
        int left = p.x();
        while (left > 0 && open(line, left - 1, p.y()))
            --left;
        int right = p.x();
        while (right + 1 < w && open(line, right + 1, p.y()))
            ++right;
        for (int x = left; x <= right; ++x) {
            line[x] = paint;
            visited.set(qsizetype(p.y()) * w + x);
        }
        // Queue the start of every open run in the rows above and below.
        for (int ny : {p.y() - 1, p.y() + 1}) {
            if (ny < 0 || ny >= h)
                continue;
            const QRgb *next = row(ny);
            bool inRun = false;
            for (int x = left; x <= right; ++x) {
                const bool o = open(next, x, ny);
                if (o && !inRun)
                    pending.emplace_back(x, ny);
                inRun = o;
            }
        }
    }
    return true;
}

} // namespace ui
