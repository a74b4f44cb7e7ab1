#pragma once

#include "board/Geometry.h"

#include <QPoint>

#include <optional>

// Pure rules of building the figure with the mouse: what a press lifts, where
// the held template stands, and what a release takes away or puts in.
// Positions are board pixels as the mouse reports them; every bound is strict.
namespace board {

struct Lift {
    int piece;               // 1..4 from the tray, or the slot's code
    std::optional<int> slot; // the slot it came from; none for the tray
};

// The slot whose area holds X (300 + 40 i < X < 340 + 40 i), if any.
std::optional<int> slotAt(float X);

// What a press at (X, Y) lifts: a tray template (Y < 150) or the piece in an
// occupied slot (180 < Y < 300). Nothing elsewhere.
std::optional<Lift> liftAt(const Slots &codes, float X, float Y);

// Corner at which the held piece's template is laid out for the pointer at
// (X, Y): rectangles centred on the pointer, the triangle with its tall side
// 45 px right of it and its base 45 px below.
QPoint heldCorner(int piece, float X, float Y);

// Release above the envelope (Y < 180): a piece lifted from a slot is taken
// away; a whole triangle goes, whichever third it was held by.
void takeAway(Slots &codes, const Lift &held);

// Release over the envelope (180 < Y < 300) at X: a flat piece goes into an
// empty slot; a triangle goes into slots k-1, k, k+1 around an empty middle
// slot k = 1..3, overwriting the neighbours. A triangle that loses any of its
// slots that way is removed whole, so the slots only ever hold whole pieces.
void putIn(Slots &codes, int piece, float X);

// True when every 4 is followed by 5 and 6 and every 5 and 6 belongs to such
// a triple.
bool holdsWholePieces(const Slots &codes);

} // namespace board
