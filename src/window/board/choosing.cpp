// Building the figure without a drag: a click, a tap or a key chooses a
// piece, and the next one puts it into a slot, or takes it away, exactly as
// a drop at that place would (board/ClickRules.h). The chosen piece is shown
// by a frame around it, a windowless control above the board's canvas.
// Positions are board pixels.
#include "app/Form1.h"

#include "board/ClickRules.h"

#include <algorithm>

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
    frameChosenPiece();
    if (same)
        return;
    describeChoice();
    emit selectionChanged();
}

// Around a template in the tray: its outline and its two dimension labels.
// Around a piece in the envelope: the piece where the board draws it now,
// which moves with P. A little outside either, on the board.
void Form1::frameChosenPiece()
{
    m_chosenFrame->setVisible(m_chosen.has_value());
    if (!m_chosen)
        return;
    const int kind = std::min(m_chosen->piece, int(board::TriangleLeft));
    QRect box;
    auto include = [&box](const auto &lines) {
        for (const ui::LineControl *line : lines)
            box |= line->bounds();
    };
    switch (kind) {
    case board::Square2x2: include(Line6); break;
    case board::Rect2x4: include(Line7); break;
    case board::Rect2x6: include(Line9); break;
    default: include(Line8); break;
    }
    if (m_chosen->slot) {
        // The templates stand at home; the piece stands on the base line,
        // its first slot (a triangle's left third) at P's offset.
        const int slot = *m_chosen->slot;
        const int first = slot - std::max(SlotPiece[std::size_t(slot)] - int(board::TriangleLeft), 0);
        const board::TrayHome home = board::trayHome(board::Piece(kind));
        box.translate(int(Px) + board::slotWidth * first - home.left,
                      board::baseY - (board::trayTop + board::pieceHeight));
    } else {
        for (int label : {2 * (kind - 1), 2 * (kind - 1) + 1})
            box |= Label9[std::size_t(label)]->geometry();
    }
    constexpr int gap = 3; // board pixels between the frame and what it frames
    const int reach = gap + m_chosenFrame->width();
    m_chosenFrame->setGeometry(box.adjusted(-reach, -reach, reach, reach) & kokuban->rect());
}
