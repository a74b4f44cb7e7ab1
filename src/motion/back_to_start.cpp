// 最初に: P back to B, the graph and the table started afresh; the figure
// and the view options stay.
#include "app/Form1.h"

#include "graph/GraphScale.h"
#include "motion/StripRules.h"

#include <QCheckBox>
#include <QPushButton>

void Form1::Command2_Click()
{
    Px = board::sideAbX - motion::stepPx;
    modoru_Click(); // erases the current column, brings P to B
    clearTable();
    DrawTable(0);
    DrawGraph(0);
    LastGx = graph::originX;
    LastGy = graph::originY;
    TableY = 0;
    GraphY = 0;
    // Every change of the figure passes here: the next pass fills the
    // strips from the figure as it stands now.
    StepArea.fill(0);
    // A run in progress goes on from B and can still be stopped.
    tomeru->setEnabled(m_running);
    Label4[6]->setVisible(false);
    PlotPoint(0);
    if (Check1->isChecked())
        DrawGrid();
}
