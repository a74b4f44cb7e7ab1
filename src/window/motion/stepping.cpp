// 出す and 戻す: P moves one step of 0.5 cm (10 board px) out or back, and
// with it the read-out, the labels, the red bar, the board, the graph and the
// table. P's marker is placed here for start-up too.
#include "app/Form1.h"

#include "board/Geometry.h"
#include "motion/StripRules.h"

#include <QCheckBox>

namespace {

constexpr int labelHighTop = 300;   // "χcm" top once x reaches 3.5 cm
constexpr int labelLowTop = 325;    // "χcm" top below that, clear of the read-out
constexpr double labelLowUntilPx = 230;

} // namespace

void Form1::susumu_Click()
{
    using namespace motion;
    if (Px == board::sideAbX && Check3->isChecked())
        DrawTable(0); // the x = 0 column, before the first step
    Px -= stepPx;
    if (Px < endPx) {
        Px = endPx;
        return;
    }
    movePMarker();
    setDistanceText(distanceCm(Px));

    CurPiece = qint16(recordStep(StepArea, SlotPiece, distance()));

    RedrawBoard(qint16(Px));
    if (Check4->isChecked())
        Line5[4]->setLine(QLine(int(Bx), int(By), int(Px), int(By)));
    Label4[6]->move(int((Px + 310) / 2 - 22), Px > labelLowUntilPx ? labelLowTop : labelHighTop);
    Label4[6]->setVisible(true);
    if (Check1->isChecked())
        DrawGrid();
    PlotPoint(0);
    if (Check3->isChecked())
        DrawTable(0);
}

void Form1::modoru_Click()
{
    using namespace motion;
    if (Px != board::sideAbX && Check3->isChecked())
        DrawTable(1); // erase the column of the x being left
    Px += stepPx;
    if (Px > board::sideAbX) {
        Px = board::sideAbX;
        return;
    }
    movePMarker();
    setDistanceText(distanceCm(Px));
    RedrawBoard(qint16(Px));
    if (Check4->isChecked())
        Line5[4]->setLine(QLine(int(Bx), int(By), int(Px), int(By)));
    // The backward step puts the label 5 px further left than the forward one.
    Label4[6]->move(int((Px + 300) / 2 - 22), Px > labelLowUntilPx ? labelLowTop : labelHighTop);
    Label4[6]->setVisible(Px != board::sideAbX);
    if (Check1->isChecked())
        DrawGrid();
    PlotPoint(1);
}

void Form1::movePMarker()
{
    Label4[8]->move(int(Px) - board::pLabelOffset, int(By));
    Shape1->move(int(Px) - board::pDotOffset, int(By) - board::pDotOffset);
}
