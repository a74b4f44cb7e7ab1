#pragma once

// Fixed geometry of the blackboard, in board pixels (20 px = 1 cm, y down).
namespace board {

constexpr int pixelsPerCm = 20;
constexpr int sideAbX = 300;   // side AB, the envelope's open side
constexpr int envelopeTop = 180; // A and D
constexpr int baseY = 300;       // B, C and the base line
constexpr int envelopeRight = 500;
constexpr int slotWidth = 40;    // 2 cm
constexpr int slotCount = 5;
constexpr int pieceHeight = 120; // every template frame is 6 cm high
constexpr int trayBottom = 150;  // presses above this row are in the tray
constexpr int parkedBarY = 800;  // the red bar BP's y while hidden, below the board

// Left edge of slot i while the figure stands at its start (P at B).
constexpr int slotLeft(int i) { return sideAbX + slotWidth * i; }

// Slot codes: what stands in each 2-cm slot of the figure.
enum Piece : int {
    Empty = 0,
    Square2x2 = 1,
    Rect2x4 = 2,
    Rect2x6 = 3,
    TriangleLeft = 4, // the triangle takes three slots: 4, 5, 6 from left to right
    TriangleMiddle = 5,
    TriangleRight = 6,
};

} // namespace board
