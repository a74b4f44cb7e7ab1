// The view options: 方眼 (grid), グラフ (graph), 表 (table) and 封筒をかくす
// (cover over the envelope). The graph and the table always exist and are
// drawn into; グラフ and 表 bring them into view by widening and heightening
// the window.
#include "app/Form1.h"

#include "app/WindowSizes.h"

#include <QCheckBox>

void Form1::Check1_Click()
{
    if (Check1->isChecked())
        m_board->DrawGrid();
    else
        redrawBoard();
}

void Form1::Check2_Click()
{
    if (Check2->isChecked())
        drawWaitingPanels();
    setOuterSizeTwips(Check2->isChecked() ? app::graphWidthTwips : app::compactWidthTwips, outerHeightTwips());
}

void Form1::Check3_Click()
{
    if (Check3->isChecked()) {
        setOuterSizeTwips(outerWidthTwips(), app::tableHeightTwips);
        m_table->clear();
        drawTable(0);
    } else {
        setOuterSizeTwips(outerWidthTwips(), app::compactHeightTwips);
    }
}

void Form1::Check5_Click() { Picture1->setVisible(Check5->isChecked()); }
