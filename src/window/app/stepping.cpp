// 出す and 戻す: P moves one step of 0.5 cm (10 board px) out or back, and
// with it the read-out, the labels, the red bar, the board, the graph and the
// table.
#include "app/Form1.h"

#include "board/Geometry.h"
#include "motion/StripRules.h"

#include <QCheckBox>

void Form1::susumu_Click()
{
    using namespace motion;
    if (Px == board::sideAbX && Check3->isChecked())
        drawTable(0); // the x = 0 column, before the first step
    Px -= stepPx;
    if (Px < endPx) {
        Px = endPx;
        return;
    }
    m_board->movePMarker(Px, By);
    setDistanceText(distanceCm(Px));

    CurPiece = qint16(recordStep(StepArea, SlotPiece, distance()));

    redrawBoard();
    if (Check4->isChecked())
        m_board->placeBar(Bx, Px, int(By));
    m_board->followP(Px, true);
    if (Check1->isChecked())
        m_board->DrawGrid();
    PlotPoint(0);
    if (Check3->isChecked())
        drawTable(0);
}

void Form1::modoru_Click()
{
    using namespace motion;
    if (Px != board::sideAbX && Check3->isChecked())
        drawTable(1); // erase the column of the x being left
    Px += stepPx;
    if (Px > board::sideAbX) {
        Px = board::sideAbX;
        return;
    }
    m_board->movePMarker(Px, By);
    setDistanceText(distanceCm(Px));
    redrawBoard();
    if (Check4->isChecked())
        m_board->placeBar(Bx, Px, int(By));
    m_board->followP(Px, false);
    if (Check1->isChecked())
        m_board->DrawGrid();
    PlotPoint(1);
}

void Form1::redrawBoard() { m_board->RedrawBoard(qint16(Px), SlotPiece, Check1->isChecked()); }

void Form1::PlotPoint(qint16 direction)
{
    if (Px > board::sideAbX)
        return;
    const double x = distance();
    m_graph->PlotPoint(direction, x, motion::stepChange(StepArea, x, direction == 0), Check2->isChecked());
}

void Form1::drawTable(qint16 mode) { m_table->DrawTable(mode, distance(), StepArea, Check3->isChecked()); }
