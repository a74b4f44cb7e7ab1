// Building the figure. By a drag: lift a template from the tray or a piece
// from a slot, carry its template with the pointer, and on release take it
// away (above the envelope) or put it in (over the envelope); every button
// acts alike. Without a drag: a click, a tap or a key chooses a piece, and
// the next one puts it into a slot, or takes it away, exactly as a drop at
// that place would (board/ClickRules.h); the board frames the chosen piece.
// A whole figure can also be put in at once, with the board as after the
// drags that make it. A press on P takes P instead (app/moving_p.cpp).
// Positions are board pixels.
#include "app/Form1.h"

#include "board/ClickRules.h"
#include "motion/PointerRules.h"
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
    if (pressTakesP(X, Y)) {
        m_holdingP = true; // P is the pointer's until the release
        return;
    }
    m_clickStart = QPointF(X, Y);
    const auto lift = board::liftAt(SlotPiece, X, Y);
    if (!lift)
        return;
    DragPiece = lift->piece;
    DragSlot = lift->slot;
}

void Form1::kokuban_MouseMove(int, int, float X, float Y)
{
    if (m_holdingP) {
        goToPx(motion::nearestStopPx(X));
        return;
    }
    // Once the pointer goes as far as a drag starts, the press is a drag:
    // a piece chosen before is forgotten, and the drag goes on as ever.
    if (m_clickStart && !board::staysAClick(*m_clickStart, {X, Y}, dragDistance())) {
        m_clickStart.reset();
        choose(std::nullopt);
    }
    if (DragPiece == board::Empty)
        return;
    m_board->carryTemplate(DragPiece, board::heldCorner(DragPiece, X, Y));
}

void Form1::kokuban_MouseUp(int, int, float X, float Y)
{
    if (std::exchange(m_holdingP, false)) {
        goToPx(motion::nearestStopPx(X));
        emit pPlaced();
        return;
    }
    const auto start = std::exchange(m_clickStart, std::nullopt);
    if (start && board::staysAClick(*start, {X, Y}, dragDistance())) {
        // A click: what the press lifted goes home untouched, and the click
        // counts where it was pressed.
        if (DragPiece != board::Empty)
            m_board->putTemplatesHome();
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
    m_board->putTemplatesHome();
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
    redrawBoard(); // P stands at B
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
    if (std::exchange(m_holdingP, false))
        emit pPlaced(); // P stays where the finger took it
    m_clickStart.reset(); // nor is it a tap
    if (DragPiece == board::Empty)
        return;
    m_board->putTemplatesHome();
    DragPiece = board::Empty;
}

void Form1::clickOnBoard(QPointF at)
{
    const float X = float(at.x()), Y = float(at.y());
    const board::Click click = board::clickAt(SlotPiece, m_chosen, X, Y);
    switch (click.kind) {
    case board::Click::Nothing: break;
    case board::Click::Choose: choose(click.chosen); break;
    case board::Click::Forget: choose(std::nullopt); break;
    case board::Click::Drop: {
        const board::Lift held = *m_chosen;
        choose(std::nullopt);
        dropHeld(held, X, Y);
        break;
    }
    }
}

void Form1::kokuban_KeyDown(int keyCode, int shift)
{
    if (shift & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return;
    if (keyCode == Qt::Key_Escape) {
        kokuban_TouchCancel(); // a dragged template goes home, nothing else changes
        choose(std::nullopt);
        return;
    }
    // The digits of the main row and of the keypad (which only adds the
    // keypad's modifier) alike; none while a drag holds a piece.
    const int digit = keyCode - Qt::Key_0;
    if (digit < 1 || digit > 9 || DragPiece != board::Empty)
        return;
    if (!m_chosen && digit <= int(board::trayHomes.size()))
        clickOnBoard(board::trayPoint(digit - 1));
    else if (m_chosen && digit <= board::slotCount)
        clickOnBoard(board::slotPoint(digit - 1));
}

void Form1::choose(std::optional<board::Lift> piece)
{
    const bool same = piece.has_value() == m_chosen.has_value() &&
                      (!piece || (piece->piece == m_chosen->piece && piece->slot == m_chosen->slot));
    m_chosen = piece;
    m_board->frameChosen(m_chosen, SlotPiece, Px);
    if (same)
        return;
    describeChoice();
    emit selectionChanged();
}
