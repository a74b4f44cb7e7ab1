// Start-up, the initial screen, 初期画面 and 終了.
#include "app/Form1.h"

#include "app/WindowSizes.h"
#include "board/Geometry.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QPushButton>

void Form1::Form_Load()
{
    setOuterSizeTwips(app::compactWidthTwips, app::compactHeightTwips);
    Check1->setChecked(false);
    Check2->setChecked(false);
    Check3->setChecked(false);
    kokuban->setDrawWidth(2);
    ShowInitialScreen();
}

void Form1::ShowInitialScreen()
{
    setDistanceText(0);
    DragPiece = board::Empty;
    m_clickStart.reset();
    choose(std::nullopt);
    const board::Slots before = SlotPiece;
    SlotPiece.fill(board::Empty);
    Picture1->hide();
    Check5->setChecked(false);
    kokuban->cls();

    using namespace board;
    Ax = sideAbX, Ay = envelopeTop, Bx = sideAbX, By = baseY;
    Cx = envelopeRight, Cy = baseY, Dx = envelopeRight, Dy = envelopeTop;
    Px = sideAbX, Py = baseY; // P at B

    // Corner and length labels beside the envelope.
    Label4[0]->move(int(Ax - 8), int(Ay - 35));
    Label4[1]->move(int(Bx + 4), int(By));
    Label4[2]->move(int(Cx - 8), int(Cy));
    Label4[3]->move(int(Dx - 8), Dy - 35);
    Label4[4]->move(int((Bx + Cx) / 2 - 20), int(By + 5));
    Label4[5]->move(int(Cx + 5), Dy + 20);
    movePMarker();

    // The envelope ABCD with its base line and the flap left of AB.
    Line5[0]->setLine(QLine(20, int(Py), int(Cx), int(Cy)));
    Line5[1]->setLine(QLine(int(Cx), int(Cy), int(Dx), Dy));
    Line5[2]->setLine(QLine(int(Dx), Dy, int(Ax), int(Ay)));
    Line5[3]->setLine(QLine(int(Ax), int(Ay), int(Bx), int(By)));
    // Parked below the board until a step shows it from B to P.
    Line5[4]->setLine(QLine(int(Bx) + 10, parkedBarY, int(Px), parkedBarY));
    Line5[5]->setLine(QLine(int(Ax), int(Ay), int(Ax - 20), int(Ay + 15)));
    Line5[6]->setLine(QLine(int(Ax - 20), int(Ay + 15), int(Bx - 20), int(By - 15)));
    Line5[7]->setLine(QLine(int(Bx - 20), int(By - 15), int(Bx), int(By)));

    Label4[6]->move(300, 330);
    Label4[6]->setVisible(false);

    putTemplatesHome();

    tomeru->setEnabled(false);
    restartGraphAndTable();
    // Last: the board was cleared above.
    if (Check1->isChecked())
        DrawGrid();
    tellFigureIfChanged(before);
}

void Form1::Command1_Click() { ShowInitialScreen(); }

void Form1::end_Click()
{
    // Ends the program at once: no question, nothing saved. A waiting
    // automatic run is dropped without another step; then the main loop
    // ends.
    m_ending = true;
    hide();
    m_waiter.abandon();
    QCoreApplication::quit();
}
