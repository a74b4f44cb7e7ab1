// Start-up: the window made and put in its first state; the initial
// screen, 初期画面 and 終了 (closing the window is 終了).
#include "app/Form1.h"

#include "app/DesignFacts.h"
#include "app/WindowSizes.h"
#include "board/Geometry.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QPushButton>

Form1::Form1(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QString::fromUtf8(app::caption.data(), qsizetype(app::caption.size())));
    // The design area in which every control is in view; the window shows
    // part of it until Form_Load sets the compact size.
    setOuterSizeTwips(app::graphWidthTwips, app::tableHeightTwips);

    createWindowControls();
    createBoardControls();
    orderControls();
    nameControls();
    connectHandlers();
    connectKeys();
    Form_Load();
}

Form1::~Form1() = default;

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

    // The envelope ABCD with its labels, its base line and its flap; P's
    // marks at B; the templates in the tray.
    m_board->placeEnvelope(QPointF(Ax, Ay), QPointF(Bx, By), QPointF(Cx, Cy), QPointF(Dx, Dy), QPointF(Px, Py));
    m_board->putTemplatesHome();

    tomeru->setEnabled(false);
    restartGraphAndTable();
    // Last: the board was cleared above.
    if (Check1->isChecked())
        m_board->DrawGrid();
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

void Form1::closeEvent(QCloseEvent *event)
{
    event->accept();
    end_Click();
}
