#pragma once

#include "ui/Surface.h"

#include <QRect>

#include <vector>

class QWidget;

namespace graph {

// The y-x graph: its surface (gamen) with the grid, the axes and their
// labels, and the blue curve, one 3-px segment per step of P. It keeps its
// pen (the last plotted point, graph pixels) and y as it has summed it.
class GraphPanel
{
public:
    // The graph's surface at `place` in the window (window pixels).
    GraphPanel(QWidget *window, QRect place);

    ui::Surface &surface() { return m_gamen; }
    const ui::Surface &surface() const { return m_gamen; }

    // The grid, the axes and the labels; mode 0 clears the surface first.
    void DrawGraph(qint16 mode);
    // One step of P to x (cm), over which y changes by `change` (cm²): the
    // segment from the pen to the new point is drawn (direction 0, blue) or
    // erased (direction 1, in the cream), while the curve is shown; the pen
    // moves and y is summed either way.
    void PlotPoint(qint16 direction, double x, double change, bool curveShown);

    // The graph starts afresh at x = 0: y 0, the pen at the origin. Out of
    // view the empty graph waits, cleared, until drawWaiting (it would only
    // delay the first frame); in view it is drawn at once.
    void restart(bool inView);
    // Draws the empty graph if it waits.
    void drawWaiting();

    double LastGx() const { return m_lastGx; }
    qint16 LastGy() const { return m_lastGy; }
    double GraphY() const { return m_graphY; } // cm²

private:
    // The grid lines, axes and labels that reach into `area` (graph
    // pixels); the rest of the frame is left as it stands.
    void drawGraphFrame(QRect area);

    ui::Surface &m_gamen;
    double m_lastGx = 0;
    qint16 m_lastGy = 0;
    double m_graphY = 0;
    bool m_frameWaits = false;
    // Where each axis label stands (graph pixels), measured once.
    std::vector<QRect> m_axisTextExtents;
};

} // namespace graph
