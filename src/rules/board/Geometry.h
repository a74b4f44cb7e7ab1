#pragma once

#include <array>

// Fixed geometry of the blackboard, in board pixels (20 px = 1 cm, y down).
// The envelope ABCD: A (300,180), B (300,300), C (500,300), D (500,180).
namespace board {

constexpr int pixelsPerCm = 20;
constexpr int sideAbX = 300;       // side AB, the envelope's open side; P starts at B on it
constexpr int envelopeTop = 180;   // A and D
constexpr int baseY = 300;         // B, C and the base line
constexpr int envelopeRight = 500; // C and D
constexpr int slotWidth = 40;      // 2 cm
constexpr int slotCount = 5;
constexpr int pieceHeight = 120; // every template frame is 6 cm high, the triangle as wide
constexpr int trayBottom = 150;  // presses above this row are in the tray
constexpr int parkedBarY = 800;  // the red bar BP's y while hidden, below the board

// P's marker on the base line: the red dot's box starts this far left of P
// and above the line; the label "Ｐ" stands on the line, this far left of P.
constexpr int pDotOffset = 4;
constexpr int pLabelOffset = 18;

// Left edge of slot i while the figure stands at its start (P at B).
constexpr int slotLeft(int i) { return sideAbX + slotWidth * i; }

// Slot codes: what stands in each 2-cm slot of the figure.
enum Piece : int {
    Empty = 0, // an empty slot; as the held piece, nothing held
    Square2x2 = 1,
    Rect2x4 = 2,
    Rect2x6 = 3,
    TriangleLeft = 4, // the triangle takes three slots: 4, 5, 6 from left to right
    TriangleMiddle = 5,
    TriangleRight = 6,
};

// The codes of the five slots, slot 0 at AB.
using Slots = std::array<int, slotCount>;

// Where each template stands at home in the tray: its frame's left edge and
// width; every frame's top is at trayTop. Pressing strictly inside the
// width, above trayBottom, lifts it.
struct TrayHome {
    Piece piece;
    int left;
    int width;
};
constexpr int trayTop = 5;
constexpr std::array<TrayHome, 4> trayHomes = {{
    {Square2x2, 300, slotWidth},
    {Rect2x4, 350, slotWidth},
    {Rect2x6, 400, slotWidth},
    {TriangleLeft, 450, pieceHeight},
}};
// The home of one of the four templates, Square2x2 to TriangleLeft.
constexpr TrayHome trayHome(Piece piece) { return trayHomes[std::size_t(piece - Square2x2)]; }

} // namespace board
