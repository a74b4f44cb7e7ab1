#include "PixelRows.h"

namespace ui {
namespace {

// The loops work in groups of this many pixels with no exit inside a group,
// so that the compiler turns each group into a few vector steps.
constexpr int group = 8;

} // namespace

void fillPixels(QRgb *pixels, int count, QRgb value)
{
    if (count < group) {
        for (int i = 0; i < count; ++i)
            pixels[i] = value;
        return;
    }
    // The last group ends at the last pixel and may overlap the one before.
    for (int i = 0;; i += group) {
        QRgb *const at = pixels + (i + group <= count ? i : count - group);
        for (int k = 0; k < group; ++k)
            at[k] = value;
        if (i + group >= count)
            break;
    }
}

bool fillPixelsChanged(QRgb *pixels, int count, QRgb value)
{
    QRgb differing = 0;
    if (count < group) {
        for (int i = 0; i < count; ++i) {
            differing |= pixels[i] ^ value;
            pixels[i] = value;
        }
        return differing != 0;
    }
    // An overlapping last group reads pixels that already hold `value`.
    for (int i = 0;; i += group) {
        QRgb *const at = pixels + (i + group <= count ? i : count - group);
        for (int k = 0; k < group; ++k) {
            differing |= at[k] ^ value;
            at[k] = value;
        }
        if (i + group >= count)
            break;
    }
    return differing != 0;
}

int fillUntil(QRgb *pixels, int count, QRgb stop, QRgb value)
{
    int i = 0;
    // A group is looked at, and written when it holds no `stop`; the group
    // that holds it goes one pixel at a time.
    for (; i + group <= count; i += group) {
        QRgb ends = 0;
        for (int k = 0; k < group; ++k)
            ends |= pixels[i + k] == stop ? ~0u : 0u;
        if (ends)
            break;
        for (int k = 0; k < group; ++k)
            pixels[i + k] = value;
    }
    for (; i < count && pixels[i] != stop; ++i)
        pixels[i] = value;
    return i;
}

int markOpaqueRun(QRgb *pixels, int count, QRgb stop, QRgb mark)
{
    // A pixel ends the run when its top (alpha) bit is clear or it is
    // `stop`. A whole group is looked at, and marked when none of it ends
    // the run; the group that holds the end goes one pixel at a time.
    constexpr QRgb alphaTop = 0x80000000;
    int i = 0;
    for (; i + group <= count; i += group) {
        QRgb ends = 0;
        for (int k = 0; k < group; ++k) {
            const QRgb p = pixels[i + k];
            ends |= ~p | (p == stop ? ~0u : 0u);
        }
        if (ends & alphaTop)
            break;
        for (int k = 0; k < group; ++k)
            pixels[i + k] = mark;
    }
    for (; i < count && (pixels[i] & alphaTop) && pixels[i] != stop; ++i)
        pixels[i] = mark;
    return i;
}

} // namespace ui
