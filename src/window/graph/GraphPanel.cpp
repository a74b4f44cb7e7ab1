// The graph panel: grid, axes and labels, and the blue curve of y against x,
// one 3-px segment per step of P.
#include "GraphPanel.h"

#include "app/DesignFacts.h"
#include "graph/GraphScale.h"
#include "ui/Fonts.h"
#include "ui/Palette.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace graph {

namespace {

const QColor gridGreen = ui::paletteColor(2);
const QColor labelBlack = ui::paletteColor(0);
const QColor curveBlue = ui::paletteColor(9);
constexpr int curveWidth = 3;

} // namespace

GraphPanel::GraphPanel(QWidget *window, QRect place)
    : m_gamen(*new ui::Surface(window, place, app::panelCream))
{
    m_gamen.setCanvasFont(ui::defaultFont());
}

void GraphPanel::DrawGraph(qint16 mode)
{
    m_gamen.setDrawWidth(1);
    if (mode == 0)
        m_gamen.cls();
    drawGraphFrame(m_gamen.rect());
}

void GraphPanel::drawGraphFrame(QRect area)
{
    if (area.isEmpty())
        return;
    // Every line of the frame is one pixel wide and runs along an axis: its
    // part inside `area` is its own pixels there, and the canvas then tells
    // only that part as changed. A segment of the curve that crosses a grid
    // line so repaints a few pixels of the window, not the line's whole
    // length across the graph.
    auto line = [&](QPointF from, QPointF to) {
        const QRect part = ui::spanning(from.toPoint(), to.toPoint()) & area;
        if (!part.isEmpty())
            m_gamen.line(part.topLeft(), part.bottomRight(), gridGreen);
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
            m_axisTextExtents.push_back(m_gamen.printExtent(t.text, t.at));
    m_gamen.setForeColor(labelBlack);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (!m_axisTextExtents[i].intersects(area))
            continue;
        m_gamen.setCurrentPos(texts[i].at);
        m_gamen.print(texts[i].text);
    }
}

void GraphPanel::PlotPoint(qint16 direction, double x, double change, bool curveShown)
{
    const QColor colour = direction == 0 ? curveBlue : app::panelCream;
    const double newGx = gx(x);
    m_graphY += change;
    const double newGy = gy(m_graphY);
    QRect touched; // what the segment painted over
    if (curveShown) {
        m_gamen.setDrawWidth(curveWidth);
        m_gamen.line(QPointF(m_lastGx, m_lastGy), QPointF(newGx, newGy), colour);
        touched = ui::spanning(QPointF(m_lastGx, m_lastGy).toPoint(), QPointF(newGx, newGy).toPoint())
                      .adjusted(-curveWidth, -curveWidth, curveWidth, curveWidth);
        m_gamen.setDrawWidth(1);
    }
    m_lastGx = newGx;
    m_lastGy = qint16(std::clamp(std::nearbyint(newGy), -32768.0, 32767.0));
    // Grid, axes and labels over the curve again where the segment went: an
    // erased segment leaves no gap in them. Elsewhere they stand untouched,
    // so drawing them again there would change no pixel.
    drawGraphFrame(touched);
    // The repaint spans the graph's whole height. A repaint that began or
    // ended beside the board's figure would split the window's dirty
    // region into bands there, and at a fractional scale the toolkit can
    // leave a row of pixels between two bands as it was (a stripe through
    // P's label, left by a drag in the page).
    if (!touched.isEmpty())
        m_gamen.askRepaint(QRect(touched.left(), 0, touched.width(), m_gamen.height()));
}

void GraphPanel::restart(bool inView)
{
    m_graphY = 0;
    m_frameWaits = !inView;
    if (m_frameWaits)
        m_gamen.cls();
    else
        DrawGraph(0);
    m_lastGx = originX;
    m_lastGy = originY;
}

void GraphPanel::drawWaiting()
{
    if (std::exchange(m_frameWaits, false))
        DrawGraph(0);
}

} // namespace graph
