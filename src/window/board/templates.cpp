// The four piece templates: yellow line figures laid out from a corner (X, Y),
// the top-left of a 6-cm-high frame; every figure stands on the line Y + 120.
#include "app/Form1.h"

#include "board/Geometry.h"

namespace {

// A rectangle `height` px high standing in the frame at (X, Y): top, right,
// bottom, left, in that order.
void placeRectangle(const std::array<ui::LineControl *, 4> &lines, qint16 X, qint16 Y, int height)
{
    const int w = board::slotWidth;
    const int bottom = Y + board::pieceHeight;
    const int top = bottom - height;
    lines[0]->setLine(QLine(X, top, X + w, top));
    lines[1]->setLine(QLine(X + w, top, X + w, bottom));
    lines[2]->setLine(QLine(X + w, bottom, X, bottom));
    lines[3]->setLine(QLine(X, bottom, X, top));
}

} // namespace

void Form1::PlaceLine6Figure(qint16 X, qint16 Y) { placeRectangle(Line6, X, Y, 2 * board::pixelsPerCm); }

void Form1::PlaceLine7Figure(qint16 X, qint16 Y) { placeRectangle(Line7, X, Y, 4 * board::pixelsPerCm); }

void Form1::PlaceLine9Figure(qint16 X, qint16 Y) { placeRectangle(Line9, X, Y, 6 * board::pixelsPerCm); }

void Form1::PlaceLine8Figure(qint16 X, qint16 Y)
{
    // Right triangle, legs 6 cm, right angle at the bottom right.
    const int h = board::pieceHeight;
    Line8[0]->setLine(QLine(X, Y + h, X + h, Y + h));
    Line8[1]->setLine(QLine(X + h, Y + h, X + h, Y));
    Line8[2]->setLine(QLine(X + h, Y, X, Y + h));
}

void Form1::putTemplatesHome()
{
    using namespace board;
    auto home = [](Piece piece) { return qint16(trayHome(piece).left); };
    PlaceLine6Figure(home(Square2x2), trayTop);
    PlaceLine7Figure(home(Rect2x4), trayTop);
    PlaceLine9Figure(home(Rect2x6), trayTop);
    PlaceLine8Figure(home(TriangleLeft), trayTop);
    // Both dimension labels of every template, hidden while it was held.
    for (ui::LabelControl *label : Label9)
        label->setVisible(true);
}
