// Moving P: forward and backward steps, back to start, the automatic run.
#include "LessonTest.h"

#include "graph/GraphScale.h"
#include "motion/RunRules.h"
#include "motion/StripRules.h"
#include "table/TableLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>
#include <vector>

using testsupport::areaOut;
using Figure = board::Slots;

namespace {

constexpr int stepsToEnd = 20; // B to the end of travel, 0.5 cm a step

double xOf(const Form1 &f) { return (300 - f.scene().Px) / 20; }

// Puts a figure in the slots the way a drop does: the slot codes change, then
// 最初に takes P back to B.
void setFigure(Form1 &f, const Figure &figure)
{
    SceneSetUp::putFigure(f, figure);
    f.controls().kokuban->setForeColor(QColor(testsupport::yellow));
    f.Command2_Click();
}

bool idleButtons(const Form1 &f)
{
    return f.controls().susumu->isEnabled() && f.controls().modoru->isEnabled() && f.controls().Command1->isEnabled() &&
           f.controls().jidou->isEnabled() && !f.controls().tomeru->isEnabled();
}

bool runningButtons(const Form1 &f)
{
    return !f.controls().susumu->isEnabled() && !f.controls().modoru->isEnabled() && !f.controls().Command1->isEnabled() &&
           !f.controls().jidou->isEnabled() && f.controls().tomeru->isEnabled();
}

// Turns of the event loop from start() on, for telling a wait that ended at
// once (one or two more turns) from one that goes on (it keeps turning)
// without a clock. At `enough` turns it calls `breakOut`, which must end the
// wait, so that a test fails now rather than after the wait's days.
class TurnCounter
{
public:
    static constexpr int enough = 100;
    explicit TurnCounter(std::function<void()> breakOut)
    {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, [this, breakOut] {
            if (++m_turns == enough)
                breakOut();
        });
    }
    void start() { m_timer.start(); }
    bool waitWentOn()
    {
        m_timer.stop();
        return m_turns >= enough;
    }

private:
    QTimer m_timer;
    int m_turns = 0;
};

} // namespace

class MotionTest : public testsupport::LessonTest
{
    Q_OBJECT

private slots:
    void firstStepMovesPAndItsLabels()
    {
        f->controls().Check3->setChecked(true);
        f->susumu_Click();
        QCOMPARE(f->scene().Px, 290.0);
        QCOMPARE(f->controls().Text1->text(), QStringLiteral(" 0.5"));
        QCOMPARE(f->controls().Label4[8]->left(), 272);
        QCOMPARE(f->controls().Shape1->left(), 286);
        QCOMPARE(f->controls().Label4[6]->geometry().topLeft(), QPoint(278, 325));
        QVERIFY(f->controls().Label4[6]->isVisible());
    }

    void readOutAlongTheWay()
    {
        const QStringList expected = {" 0.5", " 1.0", " 1.5", " 2.0", " 2.5", " 3.0", " 3.5",
                                      " 4.0", " 4.5", " 5.0", " 5.5", " 6.0", " 6.5", " 7.0",
                                      " 7.5", " 8.0", " 8.5", " 9.0", " 9.5", " 10.0"};
        for (const QString &text : expected) {
            f->susumu_Click();
            QCOMPARE(f->controls().Text1->text(), text);
        }
        QCOMPARE(f->scene().Px, 100.0);
    }

    void stepsBeyondTheEndsChangeNothing_data()
    {
        QTest::addColumn<int>("forwardFirst");
        QTest::addColumn<bool>("forward");
        QTest::newRow("出す at the end") << stepsToEnd << true;
        QTest::newRow("戻す at B") << 0 << false;
    }
    void stepsBeyondTheEndsChangeNothing()
    {
        QFETCH(int, forwardFirst);
        QFETCH(bool, forward);
        setFigure(*f, {3, 4, 5, 6, 1});
        f->controls().Check2->setChecked(true);
        f->controls().Check3->setChecked(true);
        for (int i = 0; i < forwardFirst; ++i)
            f->susumu_Click();
        const Form1Controls &c = f->controls();
        const QImage board = c.kokuban->canvas(), graph = c.gamen->canvas(), table = c.hyo->canvas();
        const double graphY = f->graph().GraphY(), tableY = f->table().TableY(), px = f->scene().Px;
        const QString text = f->controls().Text1->text();
        forward ? f->susumu_Click() : f->modoru_Click();
        QCOMPARE(f->scene().Px, px);
        QCOMPARE(f->controls().Text1->text(), text);
        QCOMPARE(f->graph().GraphY(), graphY);
        QCOMPARE(f->table().TableY(), tableY);
        QVERIFY(f->controls().kokuban->canvas() == board);
        QVERIFY(f->controls().gamen->canvas() == graph);
        QVERIFY(f->controls().hyo->canvas() == table);
    }

    void backToBHidesTheDistanceLabel()
    {
        f->susumu_Click();
        f->modoru_Click();
        QCOMPARE(f->scene().Px, 300.0);
        QCOMPARE(f->controls().Text1->text(), QStringLiteral(" 0.0"));
        QVERIFY(!f->controls().Label4[6]->isVisible());
    }

    void distanceLabelPlace_data()
    {
        QTest::addColumn<int>("steps");
        QTest::addColumn<bool>("endWithBackStep");
        QTest::addColumn<QPoint>("topLeft");
        // x = 3 (Px 240) is still low, x = 3.5 (Px 230) high.
        QTest::newRow("forward to x=3") << 6 << false << QPoint(253, 325);
        QTest::newRow("forward to x=3.5") << 7 << false << QPoint(248, 300);
        // The backward step puts the label 5 px further left.
        QTest::newRow("forward to Px=110") << 19 << false << QPoint(188, 300);
        QTest::newRow("back to Px=110") << 20 << true << QPoint(183, 300);
    }
    void distanceLabelPlace()
    {
        QFETCH(int, steps);
        QFETCH(bool, endWithBackStep);
        QFETCH(QPoint, topLeft);
        for (int i = 0; i < steps; ++i)
            f->susumu_Click();
        if (endWithBackStep)
            f->modoru_Click();
        QCOMPARE(f->controls().Label4[6]->geometry().topLeft(), topLeft);
    }

    void redBarFollowsCheck4()
    {
        for (int i = 0; i < 3; ++i)
            f->susumu_Click();
        QCOMPARE(f->controls().Line5[4]->line(), QLine(300, 300, 270, 300));
        f->controls().Check4->setChecked(false);
        QCOMPARE(f->controls().Line5[4]->line(), QLine(300, 800, 270, 800));
        f->susumu_Click(); // with the box off, steps leave the bar alone
        QCOMPARE(f->controls().Line5[4]->line(), QLine(300, 800, 270, 800));
        f->controls().Check4->setChecked(true);
        QCOMPARE(f->controls().Line5[4]->line(), QLine(300, 300, 260, 300));
    }

    void stripsOfFlatAndSlopingSlots()
    {
        // A 2 x 6 rectangle in slot 1: every step over it adds 3 cm².
        setFigure(*f, {0, 3, 0, 0, 0});
        for (int i = 0; i < 4; ++i)
            f->susumu_Click();
        QCOMPARE(f->graph().GraphY(), 0.0);
        for (int i = 0; i < 4; ++i)
            f->susumu_Click();
        QCOMPARE(f->graph().GraphY(), 12.0);

        // The triangle in slots 0..2 fills a whole slot's strips at its first step.
        setFigure(*f, {4, 5, 6, 0, 0});
        f->susumu_Click();
        QCOMPARE(f->scene().StepArea[1], 0.125f);
        QCOMPARE(f->scene().StepArea[4], 0.875f);
        QCOMPARE(f->scene().StepArea[5], 0.0f);
        for (int i = 1; i < 12; ++i)
            f->susumu_Click();
        QCOMPARE(f->scene().StepArea[5], 1.125f);
        QCOMPARE(f->scene().StepArea[12], 2.875f);
        QCOMPARE(f->controls().Text1->text(), QStringLiteral(" 6.0"));
        QCOMPARE(f->graph().GraphY(), 18.0);
        // Going back and out again over the sloping slots changes nothing.
        for (int i = 0; i < 6; ++i)
            f->modoru_Click();
        for (int i = 0; i < 6; ++i)
            f->susumu_Click();
        QCOMPARE(f->graph().GraphY(), 18.0);
    }

    // y on the graph and in the table's lower row against the area worked out
    // from the figure's shape, all the way out and back, then again after 最初に
    // with another figure.
    void areaMatchesTheFigure_data()
    {
        QTest::addColumn<Figure>("first");
        QTest::addColumn<Figure>("second");
        const Figure filler = {3, 2, 1, 2, 3};
        for (int slot = 0; slot < 5; ++slot) {
            for (int code = 0; code <= 3; ++code) {
                Figure figure = filler;
                figure[std::size_t(slot)] = code;
                QTest::addRow("code %d in slot %d", code, slot) << figure << Figure{4, 5, 6, 1, 0};
            }
        }
        for (int start = 0; start <= 2; ++start) {
            Figure figure = {3, 3, 3, 3, 3};
            for (int t = 0; t < 3; ++t)
                figure[std::size_t(start + t)] = 4 + t;
            Figure flatOver = {1, 2, 3, 2, 1};
            QTest::addRow("triangle from slot %d", start) << figure << flatOver;
            QTest::addRow("flat, then triangle from slot %d", start) << flatOver << figure;
        }
    }
    void areaMatchesTheFigure()
    {
        QFETCH(Figure, first);
        QFETCH(Figure, second);
        f->controls().Check3->setChecked(true);
        for (const Figure &figure : {first, second}) {
            setFigure(*f, figure);
            auto check = [&] {
                const double want = areaOut(figure, xOf(*f));
                QCOMPARE(f->graph().GraphY(), want);
                const double x = xOf(*f);
                if (x == std::floor(x) && x > 0)
                    QCOMPARE(f->table().TableY(), want);
            };
            for (int i = 0; i < stepsToEnd; ++i) {
                f->susumu_Click();
                check();
            }
            for (int i = 0; i < stepsToEnd; ++i) {
                f->modoru_Click();
                QCOMPARE(f->graph().GraphY(), areaOut(figure, xOf(*f)));
            }
            for (int i = 0; i < stepsToEnd; ++i) // a second pass over the same figure
                f->susumu_Click();
            QCOMPARE(f->graph().GraphY(), areaOut(figure, 10));
            QCOMPARE(f->table().TableY(), areaOut(figure, 10));
        }
    }

    void backToStartFromAnywhere_data()
    {
        QTest::addColumn<int>("steps");
        QTest::newRow("at B") << 0;
        QTest::newRow("x=2.5") << 5;
        QTest::newRow("x=10") << stepsToEnd;
    }
    void backToStartFromAnywhere()
    {
        QFETCH(int, steps);
        f->controls().Check2->setChecked(true);
        f->drawWaitingPanels(); // the hidden table as it comes into view
        const QImage freshTable = f->controls().hyo->canvas();
        Form1 reference; // the graph as 最初に leaves it at B with グラフ on
        reference.controls().Check2->setChecked(true);
        reference.Command2_Click();
        setFigure(*f, {1, 2, 3, 0, 0});
        for (int i = 0; i < steps; ++i)
            f->susumu_Click();
        f->Command2_Click();
        QCOMPARE(f->scene().Px, 300.0);
        QCOMPARE(f->controls().Text1->text(), QStringLiteral(" 0.0"));
        QCOMPARE(f->graph().GraphY(), 0.0);
        QCOMPARE(f->table().TableY(), 0.0);
        QCOMPARE(f->graph().LastGx(), 35.0);
        QCOMPARE(f->graph().LastGy(), qint16(480));
        QVERIFY(!f->controls().Label4[6]->isVisible());
        QVERIFY(!f->controls().tomeru->isEnabled());
        QCOMPARE(f->scene().SlotPiece, (Figure{1, 2, 3, 0, 0}));
        // Table: only the x = 0 column, even with 表 off.
        f->drawWaitingPanels();
        QVERIFY(f->controls().hyo->canvas() == freshTable);
        // Graph: the empty frame and the origin point only; the origin dot
        // shows beside the grid lines that are drawn over it.
        QVERIFY(f->controls().gamen->canvas() == reference.controls().gamen->canvas());
        QCOMPARE(f->controls().gamen->pixel(36, 479), QColor(testsupport::valueBlue));
    }

    // ---- P taken by the pointer ----------------------------------------------
    // Each action: a press on the board at (x, y) and a move and release at
    // `to` ("drag"), or a press on the graph or the table at x; and the
    // steps from B the lesson's numbers put P at after it. The window ends
    // exactly as the same presses of 出す and 戻す leave it.
    void pointerTakesPAsThePressesWould_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QPointF>("press");
        QTest::addColumn<double>("to");
        QTest::addColumn<int>("steps");
        const double gxAt3_5 = graph::gx(3.5), column6 = table::columnLeft(6, 6, false) + 5;
        QTest::newRow("drag from B to x=3.5") << "drag" << QPointF(300, 300) << 231.0 << 7;
        QTest::newRow("drag past the end") << "drag" << QPointF(300, 300) << -80.0 << stepsToEnd;
        QTest::newRow("drag out and back past B") << "drag2" << QPointF(300, 300) << 150.0 << 0;
        QTest::newRow("mouse half a cm below P") << "drag" << QPointF(296, 309) << 200.0 << 10;
        QTest::newRow("mouse 12 px off P: nothing") << "drag" << QPointF(312, 312) << 200.0 << 0;
        QTest::newRow("finger 18 px off P") << "finger" << QPointF(318, 312) << 200.0 << 10;
        QTest::newRow("click in the envelope: a piece") << "drag" << QPointF(305, 295) << 305.0 << 0;
        QTest::newRow("graph at x=3.5") << "graph" << QPointF(gxAt3_5, 300) << 0.0 << 7;
        QTest::newRow("table column 6") << "table" << QPointF(column6, 80) << 0.0 << 12;
    }
    void pointerTakesPAsThePressesWould()
    {
        QFETCH(QString, how);
        QFETCH(QPointF, press);
        QFETCH(double, to);
        QFETCH(int, steps);
        Form1 reference;
        for (Form1 *form : {f.get(), &reference}) {
            setFigure(*form, {3, 4, 5, 6, 1});
            for (QCheckBox *box : {form->controls().Check1, form->controls().Check2, form->controls().Check3})
                box->setChecked(true);
        }
        const auto X = float(press.x()), Y = float(press.y());
        if (how.startsWith(QLatin1String("drag"))) {
            f->kokuban_MouseDown(1, 0, X, Y);
            f->kokuban_MouseMove(1, 0, float(to), Y);
            if (how == QLatin1String("drag2"))
                f->kokuban_MouseMove(1, 0, 480, Y);
            f->kokuban_MouseUp(1, 0, how == QLatin1String("drag2") ? 480 : float(to), Y);
            if (how == QLatin1String("drag2"))
                for (int i = 0; i < 15; ++i) // out to x = 7.5 and back, as the drag went
                    reference.susumu_Click();
        } else if (how == QLatin1String("finger")) {
            static QPointingDevice *const finger = QTest::createTouchDevice(); // kept to the end
            f->show();
            QVERIFY(QTest::qWaitForWindowExposed(f.get(), testsupport::patienceMs));
            QWidget *board = f->controls().kokuban;
            QTest::touchEvent(board, finger).press(0, press.toPoint());
            QTest::touchEvent(board, finger).move(0, QPoint(int(to), int(press.y())));
            QTest::touchEvent(board, finger).release(0, QPoint(int(to), int(press.y())));
        } else if (how == QLatin1String("graph")) {
            f->gamen_MouseDown(1, 0, X, Y);
        } else {
            f->hyo_MouseDown(1, 0, X, Y);
        }
        while (reference.scene().Px > 300 - 10 * steps)
            reference.susumu_Click();
        while (reference.scene().Px < 300 - 10 * steps)
            reference.modoru_Click();
        const Form1Controls &a = f->controls(), &b = reference.controls();
        QCOMPARE(f->scene().Px, 300.0 - 10 * steps);
        QCOMPARE(a.Text1->text(), b.Text1->text());
        QCOMPARE(f->graph().GraphY(), reference.graph().GraphY());
        QCOMPARE(f->graph().LastGx(), reference.graph().LastGx());
        QCOMPARE(f->graph().LastGy(), reference.graph().LastGy());
        QCOMPARE(f->table().TableY(), reference.table().TableY());
        QCOMPARE(f->scene().StepArea, reference.scene().StepArea);
        QCOMPARE(f->scene().CurPiece, reference.scene().CurPiece);
        QVERIFY2(a.kokuban->canvas() == b.kokuban->canvas(), "board");
        QVERIFY2(a.gamen->canvas() == b.gamen->canvas(), "graph");
        QVERIFY2(a.hyo->canvas() == b.hyo->canvas(), "table");
        QCOMPARE(a.Line5[4]->line(), b.Line5[4]->line());
        QCOMPARE(a.Label4[6]->geometry(), b.Label4[6]->geometry());
        QCOMPARE(a.Shape1->geometry(), b.Shape1->geometry());
    }

    // A run holds P: a press on it, on the graph or on the table moves nothing.
    void pointerLeavesPToARun()
    {
        f->controls().Combo1->setCurrentText(QStringLiteral("200")); // a second between steps
        f->jidou_Click();
        const double px = f->scene().Px;
        f->kokuban_MouseDown(1, 0, float(px), 300);
        f->kokuban_MouseMove(1, 0, 120, 300);
        f->kokuban_MouseUp(1, 0, 120, 300);
        f->gamen_MouseDown(1, 0, float(graph::gx(8)), 100);
        f->hyo_MouseDown(1, 0, float(table::columnLeft(9, 9, false)), 30);
        QCOMPARE(f->scene().Px, px);
        f->tomeru_Click();
        testsupport::waitForRunEnd(*f);
    }

    // ---- The automatic run -------------------------------------------------

    void runFromBTakesTwentyStepsAndWaits()
    {
        f->controls().Combo1->setCurrentText(QStringLiteral("1")); // 5 ms a wait
        std::vector<int> waits;
        std::vector<double> pxAtWait;
        connect(f.get(), &Form1::waitStarted, [&](int ms) {
            waits.push_back(ms);
            pxAtWait.push_back(f->scene().Px);
            QVERIFY(runningButtons(*f));
        });
        f->jidou_Click();
        testsupport::waitForRunEnd(*f);
        QCOMPARE(int(waits.size()), stepsToEnd);
        QCOMPARE(waits.front(), 5);
        QCOMPARE(pxAtWait.front(), 290.0); // the first step follows the click at once
        QCOMPARE(pxAtWait.back(), 100.0);  // the last wait follows the last step
        QCOMPARE(f->scene().Px, 100.0);
        QVERIFY(idleButtons(*f));
    }

    void runAtTheEndStartsAgainFromB()
    {
        f->controls().Combo1->setCurrentText(QStringLiteral(" 0"));
        for (int i = 0; i < stepsToEnd; ++i)
            f->susumu_Click();
        int steps = 0;
        connect(f.get(), &Form1::distanceChanged, [&] { ++steps; });
        f->jidou_Click();
        testsupport::waitForRunEnd(*f);
        QCOMPARE(steps, 1 + stepsToEnd); // 最初に's step back to B, then the run
        QCOMPARE(f->scene().Px, 100.0);
    }

    void runPartWayGoesToTheEnd()
    {
        f->controls().Combo1->setCurrentText(QStringLiteral(" 0"));
        for (int i = 0; i < 7; ++i)
            f->susumu_Click();
        int waits = 0;
        connect(f.get(), &Form1::waitStarted, [&] { ++waits; });
        f->jidou_Click();
        testsupport::waitForRunEnd(*f);
        QCOMPARE(waits, stepsToEnd - 7);
        QCOMPARE(f->scene().Px, 100.0);
    }

    // ストップ ends the wait in progress at once, however long the speed
    // made it: no step follows, and the buttons are as after a run.
    void stopAfterStepK_data()
    {
        QTest::addColumn<QString>("speed");
        QTest::addColumn<int>("k");
        QTest::newRow("after step 1") << QStringLiteral("2") << 1; // 10 ms a wait
        QTest::newRow("after step 7") << QStringLiteral("2") << 7;
        QTest::newRow("after step 19") << QStringLiteral("2") << 19;
        QTest::newRow("wait of 5.8 days, after step 1") << QStringLiteral("99999999") << 1;
        QTest::newRow("longest wait, after step 1") << QStringLiteral("1e400") << 1;
    }
    void stopAfterStepK()
    {
        QFETCH(QString, speed);
        QFETCH(int, k);
        f->controls().Combo1->setCurrentText(speed);
        TurnCounter afterStop([&] { f->controls().end->click(); });
        int waits = 0;
        connect(f.get(), &Form1::waitStarted, [&] {
            if (++waits == k) // pressed while the k-th wait runs
                QTimer::singleShot(0, f.get(), [&] {
                    f->controls().tomeru->click();
                    afterStop.start();
                });
        });
        f->jidou_Click();
        testsupport::waitForRunEnd(*f);
        QVERIFY2(!afterStop.waitWentOn(), "the wait went on after ストップ");
        QCOMPARE(f->scene().Px, 300.0 - 10 * k);
        QCOMPARE(f->scene().StopFlag, qint16(0));
        QVERIFY(idleButtons(*f));
    }

    void speedZeroRunsWithoutHandlingEvents_data()
    {
        QTest::addColumn<QString>("speed");
        QTest::addColumn<double>("pxWhenEventRuns");
        QTest::newRow("speed \" 0\"") << QStringLiteral(" 0") << 100.0;
        QTest::newRow("letters only") << QStringLiteral("fast") << 100.0;
        QTest::newRow("negative") << QStringLiteral("-20") << 100.0;
        QTest::newRow("speed 1") << QStringLiteral("1") << 290.0;
    }
    void speedZeroRunsWithoutHandlingEvents()
    {
        QFETCH(QString, speed);
        QFETCH(double, pxWhenEventRuns);
        f->controls().Combo1->setCurrentText(speed);
        double seen = -1;
        QTimer::singleShot(0, f.get(), [&] { seen = f->scene().Px; });
        f->jidou_Click();
        QCoreApplication::processEvents();
        QCOMPARE(seen, pxWhenEventRuns);
    }

    void newSpeedAppliesFromTheNextWait()
    {
        f->controls().Combo1->setCurrentText(QStringLiteral("1"));
        std::vector<int> waits;
        connect(f.get(), &Form1::waitStarted, [&](int ms) {
            waits.push_back(ms);
            if (waits.size() == 3)
                f->controls().Combo1->setCurrentText(QStringLiteral("2"));
        });
        f->jidou_Click();
        testsupport::waitForRunEnd(*f);
        QCOMPARE(waits[2], 5);
        QCOMPARE(waits[3], 10);
    }

    // The run's pace, on a clock in ms: when the step just taken was due
    // and when it ended give the next step's time and the wait for it.
    void nextStepKeepsThePace_data()
    {
        QTest::addColumn<qint64>("lastDue");
        QTest::addColumn<qint64>("now");
        QTest::addColumn<qint64>("interval");
        QTest::addColumn<qint64>("due");
        QTest::addColumn<qint64>("wait");
        QTest::newRow("on time") << 1000LL << 1004LL << 50LL << 1050LL << 46LL;
        QTest::newRow("late wake-up comes off the wait") << 1000LL << 1020LL << 50LL << 1050LL << 30LL;
        QTest::newRow("behind: half an interval, made up later") << 1000LL << 1070LL << 50LL << 1050LL << 25LL;
        QTest::newRow("just short of an interval behind") << 1000LL << 1099LL << 50LL << 1050LL << 25LL;
        QTest::newRow("an interval behind: afresh") << 1000LL << 1100LL << 50LL << 1150LL << 50LL;
        QTest::newRow("a stalled machine: afresh") << 1000LL << 9000LL << 50LL << 9050LL << 50LL;
        QTest::newRow("longest wait") << 0LL << 5LL << 2147483647LL << 2147483647LL << 2147483642LL;
    }
    void nextStepKeepsThePace()
    {
        QFETCH(qint64, lastDue);
        QFETCH(qint64, now);
        QFETCH(qint64, interval);
        QFETCH(qint64, due);
        QFETCH(qint64, wait);
        constexpr qint64 nsPerMs = 1'000'000;
        const motion::NextStep next = motion::nextStep(lastDue * nsPerMs, now * nsPerMs, interval * nsPerMs);
        QCOMPARE(next.dueNs, due * nsPerMs);
        QCOMPARE(next.waitNs, wait * nsPerMs);
    }

    // A step that takes long (a stalled machine, a slow frame) makes the
    // run late; the step after it still leaves the window at least half an
    // interval, and a full one after a stall of an interval or more.
    void stepAfterAStallWaits_data()
    {
        QTest::addColumn<int>("stalledStep");
        QTest::addColumn<int>("stallMs");
        QTest::addColumn<int>("nextAfterMs");
        QTest::addColumn<int>("secondAfterMs");
        QTest::newRow("first step, 300 ms") << 1 << 300 << 350 << 400;
        QTest::newRow("fourth step, 300 ms") << 4 << 300 << 350 << 400;
        QTest::newRow("fourth step, just over an interval") << 4 << 60 << 85 << 110;
    }

    void stepAfterAStallWaits()
    {
        QFETCH(int, stalledStep);
        QFETCH(int, stallMs);
        QFETCH(int, nextAfterMs);
        QFETCH(int, secondAfterMs);
        constexpr int earliness = 2; // a precise timer may fire this much early
        f->controls().Combo1->setCurrentText(QStringLiteral("10")); // 50 ms a step
        QElapsedTimer clock;
        clock.start();
        std::vector<qint64> stepAt; // ms, when each step began
        connect(f.get(), &Form1::distanceChanged, [&] {
            stepAt.push_back(clock.elapsed());
            if (int(stepAt.size()) == stalledStep)
                QThread::msleep(std::uint32_t(stallMs));
        });
        f->jidou_Click();
        testsupport::waitForRunEnd(*f);
        QCOMPARE(stepAt.size(), std::size_t(20));
        const auto late = std::size_t(stalledStep - 1);
        const qint64 afterLate = stepAt[late + 1] - stepAt[late];
        QVERIFY2(afterLate >= nextAfterMs - earliness,
                 qPrintable(QStringLiteral("the step after the late one came %1 ms after it").arg(afterLate)));
        const qint64 twoAfter = stepAt[late + 2] - stepAt[late];
        QVERIFY2(twoAfter >= secondAfterMs - 2 * earliness,
                 qPrintable(QStringLiteral("the second step after the late one came %1 ms after it").arg(twoAfter)));
    }

    void backToStartDuringARunCanStillBeStopped()
    {
        f->controls().Combo1->setCurrentText(QStringLiteral("1"));
        int waits = 0;
        bool stopStayedUsable = true;
        connect(f.get(), &Form1::waitStarted, [&] {
            ++waits;
            if (waits == 5)
                QTimer::singleShot(0, f->controls().Command2, &QPushButton::click);
            if (waits > 5)
                stopStayedUsable = stopStayedUsable && runningButtons(*f);
            if (waits == 8)
                QTimer::singleShot(0, f->controls().tomeru, &QPushButton::click);
        });
        f->jidou_Click();
        testsupport::waitForRunEnd(*f);
        QVERIFY(stopStayedUsable);
        // 最初に took P back to B during wait 5; waits 6..8 followed three steps.
        QCOMPARE(f->scene().Px, 270.0);
        QVERIFY(idleButtons(*f));
    }

    void autoAfterStopDoesNotLetStepsInterleave()
    {
        f->controls().Combo1->setCurrentText(QStringLiteral("1"));
        int waits = 0;
        connect(f.get(), &Form1::waitStarted, [&] {
            if (++waits != 4)
                return;
            QTimer::singleShot(0, f.get(), [&] {
                f->controls().tomeru->click();
                QVERIFY(!f->controls().jidou->isEnabled()); // the run is still waiting
                f->controls().jidou->click();  // ignored while the run is in progress
                f->controls().susumu->click(); // disabled: no step
            });
        });
        f->jidou_Click();
        testsupport::waitForRunEnd(*f);
        QCOMPARE(waits, 4);
        QCOMPARE(f->scene().Px, 260.0);
        QVERIFY(idleButtons(*f));
    }

    void endingCutsALongWaitShort()
    {
        f->controls().Combo1->setCurrentText(QStringLiteral("99999999")); // 5.8 days a wait
        TurnCounter afterEnd([&] { f->controls().tomeru->click(); });
        connect(f.get(), &Form1::waitStarted, [&] {
            QTimer::singleShot(0, f.get(), [&] {
                f->controls().end->click();
                afterEnd.start();
            });
        });
        f->jidou_Click();
        testsupport::waitForRunEnd(*f);
        QVERIFY(f->isEnding());
        QVERIFY2(!afterEnd.waitWentOn(), "the run waited on after 終了");
        QCOMPARE(f->scene().Px, 290.0);
    }

    void endingDuringAWaitStopsTheRun()
    {
        f->controls().Combo1->setCurrentText(QStringLiteral("1"));
        int waits = 0;
        connect(f.get(), &Form1::waitStarted, [&] {
            if (++waits == 3)
                QTimer::singleShot(0, f.get(), [&] { f->close(); });
        });
        f->show();
        f->jidou_Click();
        testsupport::waitForRunEnd(*f);
        QVERIFY(f->isEnding());
        QCOMPARE(waits, 3);
        QCOMPARE(f->scene().Px, 270.0);
        QVERIFY(!f->isVisible());
    }
};

QTEST_MAIN(MotionTest)
#include "tst_motion.moc"
