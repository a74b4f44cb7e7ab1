#include "SlotRules.h"

#include <algorithm>
#include <cmath>

namespace board {
namespace {

bool isFlat(int piece) { return piece >= Square2x2 && piece <= Rect2x6; }
bool isTriangle(int piece) { return piece >= TriangleLeft && piece <= TriangleRight; }

// Empties the whole triangle that slot i belongs to.
void removeTriangleAt(Slots &codes, int i)
{
    const int first = i - (codes[std::size_t(i)] - TriangleLeft);
    for (int s = first; s < first + 3; ++s)
        if (s >= 0 && s < slotCount)
            codes[std::size_t(s)] = Empty;
}

} // namespace

std::optional<int> slotAt(float X)
{
    for (int i = 0; i < slotCount; ++i)
        if (X > slotLeft(i) && X < slotLeft(i) + slotWidth)
            return i;
    return std::nullopt;
}

std::optional<Lift> liftAt(const Slots &codes, float X, float Y)
{
    if (Y < trayBottom) {
        for (const TrayHome &home : trayHomes)
            if (X > home.left && X < home.left + home.width)
                return Lift{home.piece, std::nullopt};
        return std::nullopt;
    }
    if (Y > envelopeTop && Y < baseY) {
        const auto slot = slotAt(X);
        if (slot && codes[std::size_t(*slot)] != Empty)
            return Lift{codes[std::size_t(*slot)], slot};
    }
    return std::nullopt;
}

QPoint heldCorner(int piece, float X, float Y)
{
    // Offsets from the pointer to the template's frame corner, per kind.
    struct Offset {
        float dx, dy;
    };
    constexpr std::array<Offset, 4> offsets = {{{20, 100}, {20, 80}, {20, 60}, {75, 75}}};
    const int kind = std::clamp(piece, int(Square2x2), int(TriangleLeft));
    const Offset o = offsets[std::size_t(kind - 1)];
    return {int(std::nearbyint(X - o.dx)), int(std::nearbyint(Y - o.dy))};
}

void takeAway(Slots &codes, const Lift &held)
{
    if (!held.slot)
        return;
    const int d = *held.slot;
    if (d < 0 || d >= slotCount)
        return;
    if (isFlat(held.piece))
        codes[std::size_t(d)] = Empty;
    else if (isTriangle(held.piece) && isTriangle(codes[std::size_t(d)]))
        removeTriangleAt(codes, d);
}

void putIn(Slots &codes, int piece, float X)
{
    const auto slot = slotAt(X);
    if (!slot || codes[std::size_t(*slot)] != Empty)
        return;
    const int k = *slot;
    if (isFlat(piece)) {
        codes[std::size_t(k)] = piece;
        return;
    }
    // A triangle needs a slot on either side of the one under the pointer.
    if (!isTriangle(piece) || k == 0 || k == slotCount - 1)
        return;
    for (int s : {k - 1, k + 1})
        if (isTriangle(codes[std::size_t(s)]))
            removeTriangleAt(codes, s);
    codes[std::size_t(k - 1)] = TriangleLeft;
    codes[std::size_t(k)] = TriangleMiddle;
    codes[std::size_t(k + 1)] = TriangleRight;
}

bool holdsWholePieces(const Slots &codes)
{
    for (int i = 0; i < slotCount; ++i) {
        const int code = codes[std::size_t(i)];
        if (code < Empty || code > TriangleRight)
            return false;
        if (!isTriangle(code))
            continue;
        const int first = i - (code - TriangleLeft);
        if (first < 0 || first + 2 >= slotCount)
            return false;
        for (int t = 0; t < 3; ++t)
            if (codes[std::size_t(first + t)] != TriangleLeft + t)
                return false;
    }
    return true;
}

} // namespace board
