// Building the figure with the mouse, and the view options.
#include "LessonTest.h"

#include "board/FigureCode.h"
#include "board/SlotRules.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <memory>
#include <set>

using board::Slots;
using namespace testsupport;

namespace {

// Pointer positions in board pixels.
constexpr float trayY = 100;    // inside the tray band
constexpr float insideY = 240;  // over the envelope
constexpr float aboveY = 160;   // between the tray and the envelope
float slotX(int slot) { return 320.0f + 40.0f * float(slot); } // centre of a slot
constexpr float squareTrayX = 320, rect4TrayX = 370, rect6TrayX = 420, triangleTrayX = 540;

void drag(Form1 &f, float fromX, float fromY, float toX, float toY)
{
    f.kokuban_MouseDown(1, 0, fromX, fromY);
    f.kokuban_MouseMove(1, 0, (fromX + toX) / 2, (fromY + toY) / 2);
    f.kokuban_MouseMove(1, 0, toX, toY);
    f.kokuban_MouseUp(1, 0, toX, toY);
}

// A click or a tap: a press and its release on one point.
void click(Form1 &f, QPointF at)
{
    f.kokuban_MouseDown(1, 0, float(at.x()), float(at.y()));
    f.kokuban_MouseUp(1, 0, float(at.x()), float(at.y()));
}

} // namespace

class BuildingTest : public testsupport::LessonTest
{
    Q_OBJECT

private slots:
    // ---- Pure slot rules -----------------------------------------------------

    void lift_data()
    {
        QTest::addColumn<float>("X");
        QTest::addColumn<float>("Y");
        QTest::addColumn<int>("piece"); // 0: nothing lifted
        QTest::addColumn<int>("slot");  // -1: from the tray
        QTest::newRow("square template") << 301.f << trayY << 1 << -1;
        QTest::newRow("square's right bound") << 340.f << trayY << 0 << -1;
        QTest::newRow("between square and 2x4") << 345.f << trayY << 0 << -1;
        QTest::newRow("2x6 template") << 439.f << trayY << 3 << -1;
        QTest::newRow("triangle template") << 569.f << 10.f << 4 << -1;
        QTest::newRow("triangle's right bound") << 570.f << trayY << 0 << -1;
        QTest::newRow("below the tray, above the envelope") << 320.f << 150.f << 0 << -1;
        QTest::newRow("envelope top edge") << 320.f << 180.f << 0 << -1;
        QTest::newRow("occupied slot 1") << 370.f << insideY << 2 << 1;
        QTest::newRow("empty slot 0") << 320.f << insideY << 0 << -1;
        QTest::newRow("slot bound 340") << 340.f << insideY << 0 << -1;
        QTest::newRow("triangle by its third") << 460.f + 1 << 299.f << 6 << 4;
        QTest::newRow("base line") << 370.f << 300.f << 0 << -1;
    }
    void lift()
    {
        QFETCH(float, X);
        QFETCH(float, Y);
        QFETCH(int, piece);
        QFETCH(int, slot);
        const Slots codes = {0, 2, 4, 5, 6};
        const auto lifted = board::liftAt(codes, X, Y);
        QCOMPARE(lifted ? lifted->piece : 0, piece);
        if (lifted)
            QCOMPARE(lifted->slot.value_or(-1), slot);
    }

    void putIn_data()
    {
        QTest::addColumn<Slots>("before");
        QTest::addColumn<int>("piece");
        QTest::addColumn<int>("slot");
        QTest::addColumn<Slots>("after");
        QTest::newRow("square into empty slot 0") << Slots{} << 1 << 0 << Slots{1, 0, 0, 0, 0};
        QTest::newRow("2x6 into empty slot 4") << Slots{} << 3 << 4 << Slots{0, 0, 0, 0, 3};
        QTest::newRow("occupied slot") << Slots{2, 0, 0, 0, 0} << 1 << 0 << Slots{2, 0, 0, 0, 0};
        QTest::newRow("triangle over slot 0") << Slots{} << 4 << 0 << Slots{};
        QTest::newRow("triangle over slot 4") << Slots{} << 4 << 4 << Slots{};
        QTest::newRow("triangle between square and rectangle")
            << Slots{0, 1, 0, 3, 0} << 4 << 2 << Slots{0, 4, 5, 6, 0};
        QTest::newRow("triangle onto another's last third")
            << Slots{4, 5, 6, 0, 0} << 4 << 3 << Slots{0, 0, 4, 5, 6};
        QTest::newRow("triangle onto another's first third")
            << Slots{0, 0, 4, 5, 6} << 4 << 1 << Slots{4, 5, 6, 0, 0};
        QTest::newRow("triangle held by its middle") << Slots{} << 5 << 2 << Slots{0, 4, 5, 6, 0};
        QTest::newRow("triangle held by its right") << Slots{} << 6 << 3 << Slots{0, 0, 4, 5, 6};
    }
    void putIn()
    {
        QFETCH(Slots, before);
        QFETCH(int, piece);
        QFETCH(int, slot);
        QFETCH(Slots, after);
        Slots codes = before;
        board::putIn(codes, piece, slotX(slot));
        QCOMPARE(codes, after);
    }

    void takeAway_data()
    {
        QTest::addColumn<Slots>("before");
        QTest::addColumn<int>("piece");
        QTest::addColumn<int>("slot"); // -1: from the tray
        QTest::addColumn<Slots>("after");
        QTest::newRow("from the tray") << Slots{1, 0, 0, 0, 0} << 1 << -1 << Slots{1, 0, 0, 0, 0};
        QTest::newRow("square from slot 2") << Slots{0, 0, 1, 0, 2} << 1 << 2 << Slots{0, 0, 0, 0, 2};
        QTest::newRow("triangle by slot 3 (code 6)") << Slots{2, 4, 5, 6, 0} << 6 << 3 << Slots{2, 0, 0, 0, 0};
        QTest::newRow("triangle by slot 2 (code 5)") << Slots{4, 5, 6, 0, 3} << 5 << 1 << Slots{0, 0, 0, 0, 3};
        QTest::newRow("triangle by slot 4 (code 6)") << Slots{1, 0, 4, 5, 6} << 6 << 4 << Slots{1, 0, 0, 0, 0};
    }
    void takeAway()
    {
        QFETCH(Slots, before);
        QFETCH(int, piece);
        QFETCH(int, slot);
        QFETCH(Slots, after);
        Slots codes = before;
        board::takeAway(codes, {piece, slot < 0 ? std::nullopt : std::optional<int>(slot)});
        QCOMPARE(codes, after);
    }

    // From every slot state reachable by the pupil, every press and release
    // leaves only whole pieces; of all five-digit texts, exactly the codes
    // of these states are read back as figures.
    void everyReachableStateHoldsWholePieces()
    {
        std::set<Slots> seen{Slots{}};
        std::vector<Slots> frontier{Slots{}};
        const std::vector<float> pressX = {squareTrayX, rect4TrayX, rect6TrayX, triangleTrayX};
        int pairs = 0;
        while (!frontier.empty()) {
            const Slots state = frontier.back();
            frontier.pop_back();
            std::vector<board::Lift> lifts;
            for (float x : pressX)
                lifts.push_back(*board::liftAt(state, x, trayY));
            for (int s = 0; s < 5; ++s)
                if (auto l = board::liftAt(state, slotX(s), insideY))
                    lifts.push_back(*l);
            for (const board::Lift &held : lifts) {
                std::vector<Slots> results;
                Slots away = state;
                board::takeAway(away, held);
                results.push_back(away);
                for (int s = 0; s < 5; ++s) {
                    Slots in = state;
                    board::putIn(in, held.piece, slotX(s));
                    results.push_back(in);
                }
                for (const Slots &r : results) {
                    ++pairs;
                    QVERIFY2(board::holdsWholePieces(r), "a partial triangle was left in the slots");
                    if (seen.insert(r).second)
                        frontier.push_back(r);
                }
            }
        }
        QVERIFY(seen.size() > 100); // the search did explore the figures
        qInfo("%zu reachable slot states, %d press/release pairs checked", seen.size(), pairs);
        std::size_t accepted = 0;
        for (int n = 0; n < 100000; ++n) {
            const std::string code = QByteArray::number(n).rightJustified(5, '0').toStdString();
            if (const auto figure = board::figureFromCode(code)) {
                ++accepted;
                QVERIFY2(seen.count(*figure) && board::figureCode(*figure) == code, code.c_str());
            }
        }
        QCOMPARE(accepted, seen.size());
    }

    // Texts that are not five digits stand for no figure.
    void figureFromOtherTexts_data()
    {
        QTest::addColumn<QByteArray>("code");
        QTest::newRow("too few") << QByteArray("1045");
        QTest::newRow("too many") << QByteArray("104560");
        QTest::newRow("letter") << QByteArray("1o456");
        QTest::newRow("full-width digits") << QByteArray("１０４５６");
        QTest::newRow("huge") << QByteArray(1 << 20, '1');
    }
    void figureFromOtherTexts()
    {
        QFETCH(QByteArray, code);
        QVERIFY(!board::figureFromCode(std::string_view(code.constData(), std::size_t(code.size()))));
    }

    // ---- The mouse handlers on the window ----------------------------------

    void holdingHidesOnlyTheHeldKindsLabels_data()
    {
        QTest::addColumn<float>("X");
        QTest::addColumn<int>("firstLabel");
        QTest::newRow("square") << squareTrayX << 0;
        QTest::newRow("2x4") << rect4TrayX << 2;
        QTest::newRow("2x6") << rect6TrayX << 4;
        QTest::newRow("triangle") << triangleTrayX << 6;
    }
    void holdingHidesOnlyTheHeldKindsLabels()
    {
        QFETCH(float, X);
        QFETCH(int, firstLabel);
        f->kokuban_MouseDown(2, 0, X, trayY); // any button
        f->kokuban_MouseMove(2, 0, 100, 250);
        for (int i = 0; i < 8; ++i)
            QCOMPARE(f->controls().Label9[i]->isVisible(), i / 2 != firstLabel / 2);
        f->kokuban_MouseUp(2, 0, 100, 400);
        for (int i = 0; i < 8; ++i)
            QVERIFY(f->controls().Label9[i]->isVisible());
        QCOMPARE(f->controls().Line6[0]->line(), QLine(300, 85, 340, 85));
        QCOMPARE(f->controls().Line8[2]->line(), QLine(570, 5, 450, 125));
    }

    void heldTemplateFollowsThePointer()
    {
        f->kokuban_MouseDown(1, 0, triangleTrayX, trayY);
        f->kokuban_MouseMove(1, 0, 201.5f, 250.5f); // corners round halves to even
        // Tall side 45 px right of the pointer, base 45 px below it.
        QCOMPARE(f->controls().Line8[0]->line(), QLine(126, 296, 246, 296));
        f->kokuban_MouseDown(1, 0, squareTrayX, trayY);
        f->kokuban_MouseMove(1, 0, 100, 200);
        QCOMPARE(f->controls().Line6[0]->line(), QLine(80, 180, 120, 180)); // centred on the pointer
    }

    void releasesOutsideTheDropAreasChangeNothing_data()
    {
        QTest::addColumn<float>("Y");
        QTest::newRow("Y=180") << 180.f;
        QTest::newRow("Y=300") << 300.f;
        QTest::newRow("Y=400") << 400.f;
    }
    void releasesOutsideTheDropAreasChangeNothing()
    {
        drag(*f, squareTrayX, trayY, slotX(1), insideY);
        f->susumu_Click();
        const QImage board = f->controls().kokuban->canvas();
        QFETCH(float, Y);
        drag(*f, rect6TrayX, trayY, slotX(0), Y);
        QCOMPARE(f->scene().SlotPiece, (Slots{0, 1, 0, 0, 0}));
        QCOMPARE(f->scene().Px, 290.0);
        QVERIFY(f->controls().kokuban->canvas() == board);
        QCOMPARE(f->scene().DragPiece, 0);
    }

    void dropAboveFromTheTrayRestartsP()
    {
        drag(*f, squareTrayX, trayY, slotX(0), insideY);
        f->susumu_Click();
        f->susumu_Click();
        drag(*f, rect4TrayX, trayY, 200, aboveY);
        QCOMPARE(f->scene().SlotPiece, (Slots{1, 0, 0, 0, 0}));
        QCOMPARE(f->scene().Px, 300.0);
        QCOMPARE(f->controls().Text1->text(), QStringLiteral(" 0.0"));
        QCOMPARE(f->controls().kokuban->foreColor(), QColor(yellow));
        QCOMPARE(f->controls().kokuban->pixel(335, 290), QColor(grey)); // redrawn at B
    }

    void aPieceLiftedFromASlotStaysThereToo()
    {
        drag(*f, squareTrayX, trayY, slotX(2), insideY);
        drag(*f, slotX(2), insideY, slotX(4), insideY);
        QCOMPARE(f->scene().SlotPiece, (Slots{0, 0, 1, 0, 1}));
    }

    void triangleLiftedByItsThirdIsTakenAwayWhole()
    {
        drag(*f, triangleTrayX, trayY, slotX(2), insideY);
        QCOMPARE(f->scene().SlotPiece, (Slots{0, 4, 5, 6, 0}));
        drag(*f, slotX(3), insideY, 100, aboveY);
        QCOMPARE(f->scene().SlotPiece, (Slots{}));
    }

    // A figure handed in whole leaves the window as the drags that make it
    // do; the page is told of each change of the slots and of nothing else.
    void aFigureHandedInIsTheFigureDraggedIn()
    {
        QSignalSpy told(f.get(), &Form1::figureChanged);
        drag(*f, triangleTrayX, trayY, slotX(2), insideY);
        drag(*f, squareTrayX, trayY, slotX(0), insideY);
        drag(*f, rect6TrayX, trayY, slotX(4), insideY);
        drag(*f, rect4TrayX, trayY, slotX(0), insideY); // onto the square: no change
        Form1 handed;
        QVERIFY(!handed.buildFigure(Slots{0, 5, 6, 0, 0}));
        handed.susumu_Click();
        QVERIFY(handed.buildFigure(f->scene().SlotPiece));
        QCOMPARE(handed.scene().Px, 300.0); // the canvas holds the outlines' yellow and the shading at B
        QVERIFY(handed.controls().kokuban->canvas() == f->controls().kokuban->canvas());
        f->Command1_Click(); // 初期画面 empties the envelope
        QCOMPARE(told.count(), 4);
    }

    void realMouseEventsBuildTheFigure()
    {
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.get(), testsupport::patienceMs));
        QTest::mousePress(f->controls().kokuban, Qt::RightButton, {}, QPoint(320, 100));
        QMouseEvent move(QEvent::MouseMove, QPointF(330, 240), f->controls().kokuban->mapToGlobal(QPointF(330, 240)),
                         Qt::NoButton, Qt::RightButton, Qt::NoModifier);
        QApplication::sendEvent(f->controls().kokuban, &move);
        QTest::mouseRelease(f->controls().kokuban, Qt::RightButton, {}, QPoint(330, 240));
        QCOMPARE(f->scene().SlotPiece, (Slots{1, 0, 0, 0, 0}));
    }

    // A click on the piece, then one on the target, leaves the window as the
    // drag from the piece to the target does.
    void clickThenClickIsTheDrag_data()
    {
        QTest::addColumn<Slots>("before");
        QTest::addColumn<QPointF>("from");
        QTest::addColumn<QPointF>("to");
        const QPointF square(squareTrayX, trayY), triangle(triangleTrayX, trayY);
        auto in = [](int slot) { return QPointF(slotX(slot), insideY); };
        QTest::newRow("square into slot 0") << Slots{} << square << in(0);
        QTest::newRow("2x6 into slot 4") << Slots{} << QPointF(rect6TrayX, trayY) << in(4);
        QTest::newRow("triangle around slot 2") << Slots{0, 1, 0, 3, 0} << triangle << in(2);
        QTest::newRow("triangle over slot 0") << Slots{} << triangle << in(0);
        QTest::newRow("slot occupied") << Slots{2, 0, 0, 0, 0} << square << in(0);
        QTest::newRow("square from slot 2 into slot 4") << Slots{0, 0, 1, 0, 0} << in(2) << in(4);
        QTest::newRow("triangle by its third, taken away") << Slots{0, 4, 5, 6, 0} << in(3) << QPointF(100, aboveY);
    }
    void clickThenClickIsTheDrag()
    {
        QFETCH(Slots, before);
        QFETCH(QPointF, from);
        QFETCH(QPointF, to);
        Form1 clicked;
        for (Form1 *w : {f.get(), &clicked}) {
            QVERIFY(w->buildFigure(before));
            for (int i = 0; i < 3; ++i)
                w->susumu_Click();
        }
        QSignalSpy draggedTold(f.get(), &Form1::figureChanged), clickedTold(&clicked, &Form1::figureChanged);
        drag(*f, float(from.x()), float(from.y()), float(to.x()), float(to.y()));
        ui::Surface *board = clicked.controls().kokuban;
        const QImage canvas = board->canvas(), look = board->grab().toImage();
        click(clicked, from);
        QVERIFY(clicked.selectedPiece() != 0);
        QVERIFY(board->canvas() == canvas && board->grab().toImage() != look); // framed above the canvas
        click(clicked, to);
        QCOMPARE(clicked.selectedPiece(), 0);
        QCOMPARE(clicked.scene().SlotPiece, f->scene().SlotPiece);
        QCOMPARE(clicked.scene().Px, f->scene().Px);
        QVERIFY(board->canvas() == f->controls().kokuban->canvas());
        QCOMPARE(clickedTold.count(), draggedTold.count());
    }

    // A choice is forgotten by Escape or a click that neither chooses nor
    // drops; nothing else changes.
    void choiceForgotten_data()
    {
        QTest::addColumn<QPointF>("then"); // (-1, -1): Escape
        QTest::addColumn<int>("chosen");
        QTest::newRow("Escape") << QPointF(-1, -1) << 0;
        QTest::newRow("the same template") << QPointF(squareTrayX + 5, trayY) << 0;
        QTest::newRow("another template") << QPointF(rect4TrayX, trayY) << 2;
        QTest::newRow("above the envelope") << QPointF(200, aboveY) << 0;
        QTest::newRow("between two slots") << QPointF(340, insideY) << 0;
    }
    void choiceForgotten()
    {
        QFETCH(QPointF, then);
        QFETCH(int, chosen);
        f->susumu_Click();
        const QImage board = f->controls().kokuban->canvas();
        QSignalSpy told(f.get(), &Form1::selectionChanged);
        click(*f, {squareTrayX, trayY});
        QCOMPARE(f->selectedPiece(), 1);
        if (then.x() < 0)
            f->kokuban_KeyDown(Qt::Key_Escape, 0);
        else
            click(*f, then);
        QCOMPARE(f->selectedPiece(), chosen);
        QCOMPARE(told.count(), 2);
        QVERIFY(f->scene().SlotPiece == Slots{} && f->scene().Px == 290.0);
        QVERIFY(f->controls().kokuban->canvas() == board);
    }

    // A drag after a choice drops as ever and forgets the choice; Escape
    // during a drag puts the template home and changes nothing.
    void choiceThenDragAndEscapeDuringADrag()
    {
        click(*f, {squareTrayX, trayY});
        drag(*f, rect4TrayX, trayY, slotX(1), insideY);
        QVERIFY(f->scene().SlotPiece == (Slots{0, 2, 0, 0, 0}) && f->selectedPiece() == 0);
        f->kokuban_MouseDown(1, 0, rect6TrayX, trayY);
        f->kokuban_MouseMove(1, 0, slotX(3), insideY);
        f->kokuban_KeyDown(Qt::Key_Escape, 0);
        f->kokuban_MouseUp(1, 0, slotX(3), insideY);
        QCOMPARE(f->scene().SlotPiece, (Slots{0, 2, 0, 0, 0}));
        QCOMPARE(f->controls().Line9[0]->line(), QLine(400, 5, 440, 5)); // home
    }

    // ---- View options ----------------------------------------------------------

    void windowSizes_data()
    {
        QTest::addColumn<bool>("graph");
        QTest::addColumn<bool>("table");
        QTest::newRow("compact") << false << false;
        QTest::newRow("graph") << true << false;
        QTest::newRow("table") << false << true;
        QTest::newRow("graph and table") << true << true;
    }
    void windowSizes()
    {
        QFETCH(bool, graph);
        QFETCH(bool, table);
        f->controls().Check2->setChecked(graph);
        f->controls().Check3->setChecked(table);
        QCOMPARE(f->size(), clientWith(graph, table));
        f->Command1_Click(); // 初期画面 keeps the window as it is
        QCOMPARE(f->size(), clientWith(graph, table));
        QCOMPARE(f->controls().Check2->isChecked(), graph);
        f->controls().Check2->setChecked(false);
        f->controls().Check3->setChecked(false);
        QCOMPARE(f->size(), clientWith(false, false));
    }

    void coverLeavesTheBoardIntact()
    {
        drag(*f, rect6TrayX, trayY, slotX(0), insideY);
        f->susumu_Click();
        const QImage board = f->controls().kokuban->canvas();
        f->controls().Check2->setChecked(true);
        f->controls().Check5->setChecked(true);
        QVERIFY(!f->controls().Picture1->isHidden());
        QVERIFY(f->controls().Picture1->geometry().contains(f->controls().kokuban->geometry().topLeft() + QPoint(300, 240)));
        f->controls().Check5->setChecked(false);
        QVERIFY(f->controls().Picture1->isHidden());
        QVERIFY(f->controls().kokuban->canvas() == board);
    }

    void graphKeepsWhatWasDrawnWhileOutOfView()
    {
        drag(*f, rect6TrayX, trayY, slotX(0), insideY);
        f->controls().Check2->setChecked(true);
        f->susumu_Click(); // a segment from (35,480) to (50, 457.5)
        f->controls().Check2->setChecked(false);
        f->susumu_Click(); // no segment while hidden
        f->controls().Check2->setChecked(true);
        QCOMPARE(f->controls().gamen->pixel(42, 469), QColor(valueBlue));
        QCOMPARE(f->controls().gamen->pixel(57, 446), QColor(panelCream));
        f->susumu_Click(); // continues from the point last reached
        QCOMPARE(f->controls().gamen->pixel(72, 424), QColor(valueBlue));
    }

    void gridOffRedrawsTheBoardAtP()
    {
        f->controls().Check1->setChecked(true);
        f->susumu_Click();
        QCOMPARE(f->controls().kokuban->pixel(400, 200), QColor(black));
        f->controls().Check1->setChecked(false);
        QCOMPARE(f->controls().kokuban->pixel(400, 200), QColor(boardGreen));
        QCOMPARE(f->controls().kokuban->pixel(300, 250), QColor(white)); // side AB again
    }

    void showingTheTableWritesOnlyAWholeX_data()
    {
        QTest::addColumn<int>("steps");
        QTest::addColumn<bool>("columnWritten");
        QTest::newRow("x=0") << 0 << true;
        QTest::newRow("x=2.5") << 5 << false;
        QTest::newRow("x=3") << 6 << true;
    }
    void showingTheTableWritesOnlyAWholeX()
    {
        QFETCH(int, steps);
        QFETCH(bool, columnWritten);
        const QImage blank = [] {
            QImage i = Form1().controls().hyo->canvas();
            i.fill(QColor(panelCream));
            return i;
        }();
        for (int i = 0; i < steps; ++i)
            f->susumu_Click();
        f->controls().Check3->setChecked(true);
        QCOMPARE(f->controls().hyo->canvas() != blank, columnWritten);
    }
};

QTEST_MAIN(BuildingTest)
#include "tst_building.moc"
