// The graph panel: grid, axes and labels, and the blue curve of y against x,
// one 3-px segment per step of P.
#include "app/Form1.h"

#include "graph/GraphScale.h"
#include "motion/StripRules.h"
#include "ui/Palette.h"

#include <QCheckBox>

#include <algorithm>
#include <cmath>

namespace {

const QColor gridGreen = ui::paletteColor(2);
const QColor labelBlack = ui::paletteColor(0);
const QColor curveBlue = ui::paletteColor(9);
const QColor eraseCream = ui::colorFromBgr(0x00C0FFFF);
constexpr int curveWidth = 3;

} // namespace

void Form1::DrawGraph(qint16 mode)
{
    using namespace graph;
    gamen->setDrawWidth(1);
    if (mode == 0)
        gamen->cls();
    for (int i = 0; i < horizontalLines; ++i) {
        const QPointF from(originX, originY - gridStep * i);
        gamen->line(from, from + QPointF(gridWidth, 0), gridGreen);
    }
    for (int i = 0; i < verticalLines; ++i) {
        const QPointF from(originX + gridStep * i, originY);
        gamen->line(from, from - QPointF(0, gridHeight), gridGreen);
    }
    // The axes lie one pixel outside the first grid lines, so they read 2 px thick.
    gamen->line(QPointF(originX - 1, originY + 1), QPointF(originX - 1 + gridWidth, originY + 1), gridGreen);
    gamen->line(QPointF(originX - 1, originY + 1), QPointF(originX - 1, 6), gridGreen);
    gamen->setForeColor(labelBlack);
    for (const AxisText &t : axisTexts()) {
        gamen->setCurrentPos(t.at);
        gamen->print(t.text);
    }
}

void Form1::PlotPoint(qint16 direction)
{
    if (Px > motion::startPx)
        return;
    gamen->setDrawWidth(curveWidth);
    const QColor colour = direction == 0 ? curveBlue : eraseCream;
    const double x = distance();
    const double gx = graph::gx(x);
    // The forward step adds the strip that has just come out; the backward
    // step, called once x has gone back, takes away the strip just undone.
    const int index = int(std::nearbyint(direction == 0 ? 2 * x : 2 * x + 1));
    if (index >= 0 && index < int(StepArea.size()))
        GraphY += direction == 0 ? StepArea[std::size_t(index)] : -StepArea[std::size_t(index)];
    const double gy = graph::gy(GraphY);
    if (Check2->isChecked())
        gamen->line(QPointF(LastGx, LastGy), QPointF(gx, gy), colour);
    LastGx = gx;
    LastGy = qint16(std::clamp(std::nearbyint(gy), -32768.0, 32767.0));
    gamen->setDrawWidth(1);
    kokuban->setFillStyle(ui::Surface::FillStyle::Transparent);
    // Grid, axes and labels over the curve again: an erased segment leaves
    // no gap in them.
    DrawGraph(1);
}
