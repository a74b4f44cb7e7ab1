// P in the pupil's hands: a press on P and a move along the base line, or a
// press on the graph or on a column of the table, take P to the nearest
// half centimetre, through the very steps of 出す and 戻す, so that the
// board, the graph, the table and every sum end as those presses would
// leave them. Nothing of it while the automatic run goes on.
#include "app/Form1.h"

#include "graph/GraphScale.h"
#include "motion/PointerRules.h"
#include "motion/StripRules.h"
#include "table/TableLayout.h"

void Form1::setPageScale(double cssPerPixel) { m_cssPerPixel = cssPerPixel; }

bool Form1::pressTakesP(float X, float Y) const
{
    if (m_running)
        return false;
    const double reach = motion::pReach(kokuban->pressedByFingerOrPen(), m_cssPerPixel);
    return motion::takesP(QPointF(X, Y), Px, reach);
}

void Form1::goToPx(double target)
{
    if (m_running)
        return;
    while (Px > target && Px > motion::endPx)
        susumu_Click();
    while (Px < target)
        modoru_Click();
}

void Form1::gamen_MouseDown(int, int, float X, float)
{
    if (m_running)
        return;
    goToPx(motion::stopPxForCm(graph::xAt(X)));
    emit pPlaced();
}

void Form1::hyo_MouseDown(int, int, float X, float)
{
    if (m_running)
        return;
    if (const auto column = table::columnAt(X)) {
        goToPx(motion::stopPxForCm(*column));
        emit pPlaced();
    }
}
