// Board painting: side AB, the grid, and every piece of the figure drawn at
// P's offset and shaded white left of AB (out of the envelope) and grey right
// of it (still inside).
#include "app/Form1.h"

#include "board/Geometry.h"
#include "ui/Palette.h"

#include <QCheckBox>

namespace {

using namespace board;

constexpr int outlineWidth = 2;
constexpr int gridWidth = 1;
constexpr int gridLeft = 20;
constexpr int gridRight = 580;
constexpr int gridRows = 7;     // y = 180, 200, ... 300
constexpr int gridColumns = 31; // x = 20, 40, ... 620; the board shows them up to x = 580

const QColor outsideWhite = ui::paletteColor(15);
const QColor insideGrey = ui::paletteColor(7);
const QColor gridBlack = ui::paletteColor(0);

// Seeds lie 5 px inside the piece's left (white) or right (grey) side.
constexpr int seedInset = 5;
constexpr int squareSeedY = 298;    // just above the base
constexpr int tallSeedY = 268;      // rectangles 4 and 6 cm high, and the triangle
constexpr int triangleTipSeedY = 298; // the triangle's low left tip
constexpr int triangleInsideSeed = 85; // grey seed of a triangle wholly inside

} // namespace

void Form1::RedrawBoard(qint16 pos)
{
    kokuban->cls();
    const QPointF a(sideAbX, envelopeTop), b(sideAbX, baseY);
    kokuban->line(a, b);
    kokuban->setFillStyle(ui::Surface::FillStyle::Solid);
    if (Check1->isChecked()) {
        DrawGrid();
        // The grid's 1-px rows cut side AB; drawn again, AB stays a closed
        // boundary between the white and the grey part of a piece.
        kokuban->line(a, b);
    }
    for (int i = 0; i < slotCount; ++i) {
        const auto x = qint16(pos + slotWidth * i);
        switch (SlotPiece[std::size_t(i)]) {
        case Square2x2: ShadeSquare2x2(x); break;
        case Rect2x4: ShadeRect2x4(x); break;
        case Rect2x6: ShadeRect2x6(x); break;
        case TriangleLeft: ShadeTriangle6x6(x); break;
        default: break; // empty, or the middle and right thirds of a triangle
        }
    }
    frameChosenPiece(); // a chosen piece in the envelope moves with P
}

void Form1::DrawGrid()
{
    kokuban->setDrawWidth(gridWidth);
    for (int i = 0; i < gridRows; ++i) {
        const int y = envelopeTop + pixelsPerCm * i;
        kokuban->line(QPointF(gridLeft, y), QPointF(gridRight, y), gridBlack);
    }
    for (int i = 0; i < gridColumns; ++i) {
        const int x = gridLeft + pixelsPerCm * i;
        // The design's board is framed, so its drawing area ends before
        // x = 600; this frameless canvas is a pixel wider and cuts the last
        // two columns itself.
        if (x > gridRight)
            break;
        kokuban->line(QPointF(x, envelopeTop), QPointF(x, baseY), gridBlack);
    }
    kokuban->setDrawWidth(outlineWidth);
}

namespace {

// Outline of a rectangle 2 cm wide and `height` px high standing on the base
// line at x, as one path, then its shading.
void shadeRectangle(ui::Surface &board, qint16 x, int height, int seedY)
{
    const int right = x + slotWidth;
    const int top = baseY - height;
    board.line(QPointF(x, baseY), QPointF(right, baseY));
    board.lineTo(QPointF(right, top));
    board.lineTo(QPointF(x, top));
    board.lineTo(QPointF(x, baseY));

    const bool anyOutside = x < sideAbX;    // some of it has come out left of AB
    const bool anyInside = right > sideAbX; // some of it is still right of AB
    if (anyOutside) {
        board.setFillColor(outsideWhite);
        board.floodFillBorder(QPointF(x + seedInset, seedY), board.foreColor());
    }
    if (anyInside) {
        board.setFillColor(insideGrey);
        board.floodFillBorder(QPointF(right - seedInset, seedY), board.foreColor());
    }
}

} // namespace

void Form1::ShadeSquare2x2(qint16 x) { shadeRectangle(*kokuban, x, 2 * pixelsPerCm, squareSeedY); }

void Form1::ShadeRect2x4(qint16 x) { shadeRectangle(*kokuban, x, 4 * pixelsPerCm, tallSeedY); }

void Form1::ShadeRect2x6(qint16 x) { shadeRectangle(*kokuban, x, 6 * pixelsPerCm, tallSeedY); }

void Form1::ShadeTriangle6x6(qint16 x)
{
    const int right = x + pieceHeight; // legs 6 cm: as wide as it is high
    const int top = baseY - pieceHeight;
    kokuban->line(QPointF(x, baseY), QPointF(right, baseY));
    kokuban->lineTo(QPointF(right, top));
    kokuban->lineTo(QPointF(x, baseY));

    if (x < sideAbX) {
        kokuban->setFillColor(outsideWhite);
        kokuban->floodFillBorder(QPointF(x + seedInset, triangleTipSeedY), kokuban->foreColor());
        if (right > sideAbX) {
            kokuban->setFillColor(insideGrey);
            kokuban->floodFillBorder(QPointF(right - seedInset, tallSeedY), kokuban->foreColor());
        }
    } else {
        kokuban->setFillColor(insideGrey);
        kokuban->floodFillBorder(QPointF(x + triangleInsideSeed, tallSeedY), kokuban->foreColor());
    }
}
