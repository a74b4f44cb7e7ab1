// 最初に: P back to B, the graph and the table started afresh; the figure
// and the view options stay. And Check4, which shows or hides the red bar BP.
#include "app/Form1.h"

#include "graph/GraphScale.h"
#include "motion/StripRules.h"

#include <QCheckBox>
#include <QPushButton>

#include <utility>

void Form1::Command2_Click()
{
    Px = board::sideAbX - motion::stepPx;
    modoru_Click(); // erases the current column, brings P to B
    // A run in progress goes on from B and can still be stopped.
    tomeru->setEnabled(m_running);
    Label4[6]->setVisible(false);
    restartGraphAndTable();
    if (Check1->isChecked())
        DrawGrid();
}

void Form1::restartGraphAndTable()
{
    TableY = 0;
    GraphY = 0;
    // The strips are filled afresh from the figure as it stands now: every
    // change of the figure passes through here.
    StepArea.fill(0);
    // With x at 0: the table's x = 0 column, written even while 表 is off,
    // and the empty graph with its pen at the origin, plotted there.
    clearTable();
    DrawTable(0);
    // Out of view (at start-up) the empty graph waits, cleared, until it
    // is first needed (drawWaitingPanels): it would only delay the first
    // frame. In view, it is drawn at once.
    m_graphFrameWaits = !Check2->isChecked();
    if (m_graphFrameWaits)
        gamen->cls();
    else
        DrawGraph(0);
    LastGx = graph::originX;
    LastGy = graph::originY;
    PlotPoint(0);
}

void Form1::drawWaitingPanels()
{
    if (std::exchange(m_graphFrameWaits, false))
        DrawGraph(0);
    if (std::exchange(m_tableStartWaits, false))
        writeTableStart();
}

void Form1::Check4_Click()
{
    const int y = Check4->isChecked() ? int(By) : board::parkedBarY;
    Line5[4]->setLine(QLine(int(Bx), y, int(Px), y));
}
