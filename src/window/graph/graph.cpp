// The graph panel: grid, axes and labels, and the blue curve of y against x,
// one 3-px segment per step of P.
#include "app/Form1.h"

#include "app/DesignFacts.h"
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
constexpr int curveWidth = 3;

} // namespace

void Form1::DrawGraph(qint16 mode)
{
    gamen->setDrawWidth(1);
    if (mode == 0)
        gamen->cls();
    drawGraphFrame(gamen->rect());
}

// The grid lines, axes and labels that reach into `area` (graph pixels); the
// rest of the frame is left as it stands.
void Form1::drawGraphFrame(QRect area)
{
    using namespace graph;
    if (area.isEmpty())
        return;
    auto line = [&](QPointF from, QPointF to) {
        if (ui::spanning(from.toPoint(), to.toPoint()).intersects(area))
            gamen->line(from, to, gridGreen);
    };
    for (int i = 0; i < horizontalLines; ++i) {
        const QPointF from(originX, originY - gridStep * i);
        line(from, from + QPointF(gridWidth, 0));
    }
    for (int i = 0; i < verticalLines; ++i) {
        const QPointF from(originX + gridStep * i, originY);
        line(from, from - QPointF(0, gridHeight));
    }
    // The axes lie one pixel outside the first grid lines, so they read 2 px thick.
    line(QPointF(originX - 1, originY + 1), QPointF(originX - 1 + gridWidth, originY + 1));
    line(QPointF(originX - 1, originY + 1), QPointF(originX - 1, 6));
    static const std::vector<AxisText> texts = axisTexts();
    if (m_axisTextExtents.empty())
        for (const AxisText &t : texts)
            m_axisTextExtents.push_back(gamen->printExtent(t.text, t.at));
    gamen->setForeColor(labelBlack);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (!m_axisTextExtents[i].intersects(area))
            continue;
        gamen->setCurrentPos(texts[i].at);
        gamen->print(texts[i].text);
    }
}

void Form1::PlotPoint(qint16 direction)
{
    if (Px > board::sideAbX)
        return;
    const QColor colour = direction == 0 ? curveBlue : app::panelCream;
    const double x = distance();
    const double gx = graph::gx(x);
    GraphY += motion::stepChange(StepArea, x, direction == 0);
    const double gy = graph::gy(GraphY);
    QRect touched; // what the segment painted over
    if (Check2->isChecked()) {
        gamen->setDrawWidth(curveWidth);
        gamen->line(QPointF(LastGx, LastGy), QPointF(gx, gy), colour);
        touched = ui::spanning(QPointF(LastGx, LastGy).toPoint(), QPointF(gx, gy).toPoint())
                      .adjusted(-curveWidth, -curveWidth, curveWidth, curveWidth);
        gamen->setDrawWidth(1);
    }
    LastGx = gx;
    LastGy = qint16(std::clamp(std::nearbyint(gy), -32768.0, 32767.0));
    kokuban->setFillStyle(ui::Surface::FillStyle::Transparent);
    // Grid, axes and labels over the curve again where the segment went: an
    // erased segment leaves no gap in them. Elsewhere they stand untouched,
    // so drawing them again there would change no pixel.
    drawGraphFrame(touched);
}
