// The graph panel (grid, axes, labels, one blue segment per step) and the
// value table (a column per whole centimetre), as drawn by the steps of P.

#include "TestSupport.h"

#include "graph/GraphScale.h"
#include "motion/StripRules.h"
#include "table/TableLayout.h"
#include "ui/NumberForm.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

#include <cmath>

namespace {

using Figure = board::Slots;

using testsupport::valueBlue;
const QRgb cream = testsupport::panelCream;    // graph and table background
const QRgb gridGreen = testsupport::boardGreen; // palette index 2
const QRgb labelBlack = testsupport::black;
constexpr int stepsPerCm = 2;               // P moves 0.5 cm per step
// An erased segment also takes the round end of the previous one: the
// 3-px pen reaches this far around their common point.
constexpr int jointRadius = 3;

QRgb at(const QImage &image, int x, int y) { return image.pixel(x, y) | 0xff000000u; }

void stepTo(Form1 &f, double x)
{
    while (motion::distanceCm(f.scene().Px) < x)
        f.susumu_Click();
}

} // namespace

class TestGraphTable : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void graphGridAndAxes();
    void graphLabelsInTheirBoxes();
    void segmentWrittenThenErased_data();
    void segmentWrittenThenErased();
    void plotPointBeyondStartChangesNothing();
    void firstStepOfTriangle();
    void tableColumnWrittenThenErased_data();
    void tableColumnWrittenThenErased();
    void lowerRowAfterTableWasHidden_data();
    void lowerRowAfterTableWasHidden();
    void hiddenGraphAndTableAtStart();
};

void TestGraphTable::initTestCase() { testsupport::setUpTestApplication(); }

void TestGraphTable::graphGridAndAxes()
{
    Form1 f;
    f.drawWaitingPanels(); // the hidden graph as it comes into view
    const QImage &g = f.controls().gamen->canvas();
    using namespace graph;
    const int gridX = originX + 3 * gridStep;       // the line of x = 3 cm
    const int gridY = originY - 5 * gridStep;       // the line of y = 20 cm²
    const int between = originX + 5 * gridStep + 15; // halfway between two lines
    QCOMPARE(at(g, gridX, 305), gridGreen);
    QCOMPARE(at(g, between, gridY), gridGreen);
    QCOMPARE(at(g, between, 305), cream);
    QCOMPARE(at(g, gridX, originY - gridHeight), gridGreen);     // lines reach y = 5
    QCOMPARE(at(g, gridX, originY - gridHeight - 2), cream);
    QCOMPARE(at(g, originX + gridWidth, gridY), gridGreen);      // and x = 385
    QCOMPARE(at(g, originX + gridWidth + 2, gridY), cream);

    // Axes: the first grid line and a line one pixel outside it, 2 px thick.
    QCOMPARE(at(g, originX - 2, 305), cream);
    QCOMPARE(at(g, originX - 1, 305), gridGreen);
    QCOMPARE(at(g, originX, 305), gridGreen);
    QCOMPARE(at(g, originX + 1, 305), cream);
    QCOMPARE(at(g, between, originY - 1), cream);
    QCOMPARE(at(g, between, originY), gridGreen);
    QCOMPARE(at(g, between, originY + 1), gridGreen);
    QCOMPARE(at(g, between, originY + 2), cream);
}

void TestGraphTable::graphLabelsInTheirBoxes()
{
    // Every axis text has black pixels inside its box, and no black pixel
    // lies outside all the boxes: a missing or misplaced label shows.
    Form1 f;
    f.drawWaitingPanels(); // the hidden graph as it comes into view
    const QImage &g = f.controls().gamen->canvas();
    const QFontMetrics metrics(f.controls().gamen->canvasFont());
    QList<QRect> boxes;
    for (const graph::AxisText &t : graph::axisTexts())
        boxes << QRect(t.at, QSize(metrics.horizontalAdvance(t.text), metrics.height()));

    QList<int> blackInBox(boxes.size(), 0);
    for (int y = 0; y < g.height(); ++y) {
        for (int x = 0; x < g.width(); ++x) {
            if (at(g, x, y) != labelBlack)
                continue;
            bool inside = false;
            for (qsizetype i = 0; i < boxes.size(); ++i)
                if (boxes[i].contains(x, y)) {
                    inside = true;
                    ++blackInBox[i];
                }
            QVERIFY2(inside, qPrintable(QStringLiteral("black pixel outside the labels at (%1,%2)").arg(x).arg(y)));
        }
    }
    const auto texts = graph::axisTexts();
    for (qsizetype i = 0; i < boxes.size(); ++i)
        QVERIFY2(blackInBox[i] > 0, qPrintable(QStringLiteral("label '%1' not drawn").arg(texts[i].text)));
}

void TestGraphTable::segmentWrittenThenErased_data()
{
    QTest::addColumn<Figure>("figure");
    QTest::addColumn<double>("from");

    QTest::newRow("2x6 rectangle, from the origin") << Figure{3, 0, 0, 0, 0} << 0.0;
    QTest::newRow("triangle, from x=2") << Figure{4, 5, 6, 0, 0} << 2.0;
    QTest::newRow("triangle and squares, from x=7.5") << Figure{4, 5, 6, 1, 1} << 7.5;
}

void TestGraphTable::segmentWrittenThenErased()
{
    QFETCH(Figure, figure);
    QFETCH(double, from);
    Form1 f;
    f.controls().Check2->setChecked(true);
    SceneSetUp::putFigure(f, figure);
    stepTo(f, from);
    const QImage before = f.controls().gamen->canvas();
    const double graphY = f.graph().GraphY(), lastGx = f.graph().LastGx();
    const qint16 lastGy = f.graph().LastGy();
    const QPoint joint(int(lastGx), lastGy);

    f.susumu_Click();
    const QPoint end(int(f.graph().LastGx()), f.graph().LastGy());
    const QPoint middle = (joint + end) / 2;
    QCOMPARE(at(f.controls().gamen->canvas(), middle.x(), middle.y()), valueBlue);

    f.modoru_Click();
    QCOMPARE(f.graph().GraphY(), graphY);
    QCOMPARE(f.graph().LastGx(), lastGx);
    QCOMPARE(f.graph().LastGy(), lastGy);
    const QImage &after = f.controls().gamen->canvas();
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (after.pixel(x, y) != before.pixel(x, y))
                QVERIFY2(std::abs(x - joint.x()) <= jointRadius && std::abs(y - joint.y()) <= jointRadius,
                         qPrintable(QStringLiteral("(%1,%2) left changed").arg(x).arg(y)));
}

void TestGraphTable::plotPointBeyondStartChangesNothing()
{
    Form1 f;
    f.controls().Check2->setChecked(true);
    // A state in which a plot would add 2 cm² and draw a segment to x = 0.5.
    f.controls().Text1->setText(QStringLiteral(" 0.5"));
    SceneSetUp::of(f).StepArea[1] = 2;
    SceneSetUp::of(f).Px = board::sideAbX + motion::stepPx;
    const QImage before = f.controls().gamen->canvas();
    const double graphY = f.graph().GraphY(), lastGx = f.graph().LastGx();
    const qint16 lastGy = f.graph().LastGy();

    f.PlotPoint(0);
    f.PlotPoint(1);
    QCOMPARE(f.graph().GraphY(), graphY);
    QCOMPARE(f.graph().LastGx(), lastGx);
    QCOMPARE(f.graph().LastGy(), lastGy);
    QVERIFY(f.controls().gamen->canvas() == before);
}

void TestGraphTable::firstStepOfTriangle()
{
    // The triangle's first strip is 0.125 cm²: gy = 480 - 7.5 * 0.125 = 479.0625.
    Form1 f;
    SceneSetUp::putFigure(f, {4, 5, 6, 0, 0});
    f.susumu_Click();
    QCOMPARE(f.graph().GraphY(), 0.125);
    QCOMPARE(f.graph().LastGx(), graph::gx(0.5));
    QCOMPARE(f.graph().LastGy(), qint16(479));
}

void TestGraphTable::tableColumnWrittenThenErased_data()
{
    QTest::addColumn<Figure>("figure");
    QTest::addColumn<int>("x");

    QTest::newRow("rectangles, x=2") << Figure{3, 1, 0, 0, 0} << 2;
    QTest::newRow("triangle, x=3, y with a point") << Figure{4, 5, 6, 0, 0} << 3;
    QTest::newRow("two 2x6, x=4, two-digit y") << Figure{3, 3, 0, 0, 0} << 4;
    QTest::newRow("full figure, x=10") << Figure{3, 3, 4, 5, 6} << 10;
}

void TestGraphTable::tableColumnWrittenThenErased()
{
    QFETCH(Figure, figure);
    QFETCH(int, x);
    Form1 f;
    f.controls().Check3->setChecked(true);
    SceneSetUp::putFigure(f, figure);
    stepTo(f, x - 0.5);
    const QImage halfBefore = f.controls().hyo->canvas();

    f.susumu_Click();
    QCOMPARE(f.table().TableY(), testsupport::areaOut(figure, x));
    const int left = table::columnLeft(x, double(x), false);
    int written = 0;
    for (int px = left; px < left + 30; ++px)
        for (int py = table::xRowTop; py < table::xRowTop + 20; ++py)
            written += at(f.controls().hyo->canvas(), px, py) == valueBlue;
    QVERIFY2(written > 0, "column not written");

    f.modoru_Click();
    QVERIFY2(f.controls().hyo->canvas() == halfBefore, "erasing left traces of the column");
    QCOMPARE(f.table().TableY(), testsupport::areaOut(figure, x - 1));
}

void TestGraphTable::lowerRowAfterTableWasHidden_data()
{
    QTest::addColumn<Figure>("figure");
    QTest::addColumn<QList<int>>("toggles"); // steps after which 表 is switched

    // P ends at x = 3 (six steps) with the table switched on there.
    QTest::newRow("hidden all the way, triangle") << Figure{4, 5, 6, 0, 0} << QList<int>{6};
    QTest::newRow("hidden all the way, rectangles") << Figure{3, 3, 1, 0, 0} << QList<int>{6};
    QTest::newRow("shown at x=1, hidden, shown at x=3") << Figure{4, 5, 6, 0, 0} << QList<int>{2, 3, 6};
    QTest::newRow("shown from x=0, hidden at x=1.5") << Figure{3, 3, 1, 0, 0} << QList<int>{0, 3, 6};
    QTest::newRow("shown all the way, hidden and shown at x=3")
        << Figure{4, 5, 6, 0, 0} << QList<int>{0, 6, 6};
}

void TestGraphTable::lowerRowAfterTableWasHidden()
{
    QFETCH(Figure, figure);
    QFETCH(QList<int>, toggles);
    constexpr int column = 3;
    Form1 f;
    SceneSetUp::putFigure(f, figure);
    for (int step = 0; step <= column * stepsPerCm; ++step) {
        for (int t : toggles)
            if (t == step)
                f.controls().Check3->setChecked(!f.controls().Check3->isChecked());
        if (step < column * stepsPerCm)
            f.susumu_Click();
    }
    QVERIFY(f.controls().Check3->isChecked());
    const double area = testsupport::areaOut(figure, column);
    QCOMPARE(f.table().TableY(), area);

    // Showing the table clears it and writes the column of x = 3 alone: draw
    // that column's two texts onto a blank table and compare.
    ui::Surface expected(f.controls().hyo->canvas().size(), f.controls().hyo->backColor());
    expected.setCanvasFont(f.controls().hyo->canvasFont());
    expected.setForeColor(QColor(valueBlue));
    expected.setCurrentPos(QPointF(table::columnLeft(column, column, false), table::xRowTop));
    expected.print(ui::generalNumber(double(column)));
    expected.setCurrentPos(QPointF(table::columnLeft(column, area, true), table::yRowTop));
    expected.print(ui::generalNumber(float(area)));
    QVERIFY2(f.controls().hyo->canvas() == expected.canvas(),
             qPrintable(QStringLiteral("table does not show x = 3, y = %1 alone").arg(area)));
}

// Out of view at start-up, the graph and the table show their starting
// pictures as soon as グラフ and 表 bring them into view, and the table's
// description is there from the start.
void TestGraphTable::hiddenGraphAndTableAtStart()
{
    Form1 atOnce;
    atOnce.drawWaitingPanels(); // drawn now
    atOnce.controls().Check2->setChecked(true);
    atOnce.controls().Check3->setChecked(true);
    atOnce.show();
    QVERIFY(QTest::qWaitForWindowExposed(&atOnce, testsupport::patienceMs));
    const QImage graph = atOnce.controls().gamen->grab().toImage(), table = atOnce.controls().hyo->grab().toImage();

    Form1 f;
    QCOMPARE(f.controls().hyo->accessibleDescription(), QStringLiteral("χ 0, ｙ 0"));
    f.controls().Check2->setChecked(true);
    f.controls().Check3->setChecked(true);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f, testsupport::patienceMs));
    QCOMPARE(f.controls().gamen->grab().toImage(), graph);
    QCOMPARE(f.controls().hyo->grab().toImage(), table);
    QCOMPARE(at(f.controls().gamen->canvas(), graph::originX, graph::originY - graph::gridStep), gridGreen);
}

QTEST_MAIN(TestGraphTable)
#include "tst_graph_table.moc"
