// 最初に: P back to B, the graph and the table started afresh; the figure
// and the view options stay. And Check4, which shows or hides the red bar BP.
#include "app/Form1.h"

#include "board/Geometry.h"
#include "motion/StripRules.h"

#include <QCheckBox>
#include <QPushButton>

void Form1::Command2_Click()
{
    Px = board::sideAbX - motion::stepPx;
    modoru_Click(); // erases the current column, brings P to B
    // A run in progress goes on from B and can still be stopped.
    tomeru->setEnabled(m_running);
    m_board->hideDistanceLabel();
    restartGraphAndTable();
    if (Check1->isChecked())
        m_board->DrawGrid();
}

void Form1::restartGraphAndTable()
{
    // The strips are filled afresh from the figure as it stands now: every
    // change of the figure passes through here.
    StepArea.fill(0);
    // With x at 0: the table's x = 0 column, written even while 表 is off,
    // and the empty graph with its pen at the origin, plotted there. Out of
    // view (at start-up) either waits until it is first needed
    // (drawWaitingPanels): it would only delay the first frame.
    m_table->restart();
    drawTable(0);
    m_graph->restart(Check2->isChecked());
    PlotPoint(0);
}

void Form1::drawWaitingPanels()
{
    m_graph->drawWaiting();
    m_table->drawWaiting();
}

void Form1::Check4_Click() { m_board->placeBar(Bx, Px, Check4->isChecked() ? int(By) : board::parkedBarY); }
