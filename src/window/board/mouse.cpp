// Building the figure with the mouse: lift a template from the tray or a
// piece from a slot, carry its template with the pointer, and on release take
// it away (above the envelope) or put it in (over the envelope). Every button
// acts alike. Positions are board pixels. A press and release without a
// drag is a click, which board/choosing.cpp takes. A whole figure can also
// be put in at once, with the board as after the drags that make it.
#include "app/Form1.h"

#include "board/ClickRules.h"
#include "ui/Palette.h"

#include <QGuiApplication>
#include <QStyleHints>

#include <algorithm>
#include <utility>

namespace {

constexpr float releaseAboveY = board::envelopeTop; // Y < 180: take away
const QColor droppedPen = ui::paletteColor(14);     // yellow outlines from the first drop on

// How far the pointer goes before a press is a drag rather than a click:
// the platform's own distance (board pixels; 10 on most desktops and in
// the browser), as every list and file manager counts it.
int dragDistance() { return QGuiApplication::styleHints()->startDragDistance(); }

} // namespace

void Form1::kokuban_MouseDown(int, int, float X, float Y)
{
    m_clickStart = QPointF(X, Y);
    const auto lift = board::liftAt(SlotPiece, X, Y);
    if (!lift)
        return;
    DragPiece = lift->piece;
    DragSlot = lift->slot;
}

void Form1::kokuban_MouseMove(int, int, float X, float Y)
{
    // Once the pointer goes as far as a drag starts, the press is a drag:
    // a piece chosen before is forgotten, and the drag goes on as ever.
    if (m_clickStart && !board::staysAClick(*m_clickStart, {X, Y}, dragDistance())) {
        m_clickStart.reset();
        choose(std::nullopt);
    }
    if (DragPiece == board::Empty)
        return;
    const QPoint corner = board::heldCorner(DragPiece, X, Y);
    const auto cx = qint16(std::clamp(corner.x(), -30000, 30000));
    const auto cy = qint16(std::clamp(corner.y(), -30000, 30000));
    int firstLabel = 0; // the kind's two dimension labels are firstLabel and the next
    switch (std::min(DragPiece, int(board::TriangleLeft))) {
    case board::Square2x2: PlaceLine6Figure(cx, cy); firstLabel = 0; break;
    case board::Rect2x4: PlaceLine7Figure(cx, cy); firstLabel = 2; break;
    case board::Rect2x6: PlaceLine9Figure(cx, cy); firstLabel = 4; break;
    default: PlaceLine8Figure(cx, cy); firstLabel = 6; break;
    }
    Label9[std::size_t(firstLabel)]->setVisible(false);
    Label9[std::size_t(firstLabel + 1)]->setVisible(false);
    kokuban->update();
}

void Form1::kokuban_MouseUp(int, int, float X, float Y)
{
    const auto start = std::exchange(m_clickStart, std::nullopt);
    if (start && board::staysAClick(*start, {X, Y}, dragDistance())) {
        // A click: what the press lifted goes home untouched, and the click
        // counts where it was pressed.
        if (DragPiece != board::Empty)
            putTemplatesHome();
        DragPiece = board::Empty;
        clickOnBoard(*start);
        return;
    }
    if (start)
        choose(std::nullopt); // a drag: a piece chosen before is forgotten
    if (DragPiece == board::Empty)
        return;
    dropHeld({DragPiece, DragSlot}, X, Y);
}

void Form1::dropHeld(const board::Lift &held, float X, float Y)
{
    putTemplatesHome();
    const board::Slots before = SlotPiece;
    const bool above = Y < releaseAboveY;
    const bool over = Y > board::envelopeTop && Y < board::baseY;
    if (above)
        board::takeAway(SlotPiece, held);
    else if (over)
        board::putIn(SlotPiece, held.piece, X);
    if (above || over)
        showDroppedFigure();
    DragPiece = board::Empty;
    tellFigureIfChanged(before);
}

void Form1::showDroppedFigure()
{
    kokuban->setForeColor(droppedPen);
    Command2_Click();
    RedrawBoard(qint16(board::sideAbX));
}

bool Form1::buildFigure(const board::Slots &figure)
{
    if (!board::holdsWholePieces(figure))
        return false;
    if (figure == SlotPiece)
        return true;
    const board::Slots before = SlotPiece;
    SlotPiece = figure;
    choose(std::nullopt); // a piece chosen in the old figure may be gone
    showDroppedFigure();
    tellFigureIfChanged(before);
    return true;
}

void Form1::tellFigureIfChanged(const board::Slots &before)
{
    if (SlotPiece != before)
        emit figureChanged();
}

// A drag that ends without a release (the system took the touch back) puts
// the held template home and changes nothing else: lifting a piece has not
// yet taken it from its slot.
void Form1::kokuban_TouchCancel()
{
    m_clickStart.reset(); // nor is it a tap
    if (DragPiece == board::Empty)
        return;
    putTemplatesHome();
    DragPiece = board::Empty;
}
