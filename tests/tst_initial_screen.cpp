// The initial screen that start-up shows and 初期画面 restores: P at B,
// x = 0, an empty envelope, every template in the tray, the empty graph and
// the x = 0 table column, in the compact window.

#include "TestSupport.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {

using namespace testsupport;

const QPoint graphOrigin(35, 480);

ui::LineControl *templateLine(Form1 &f, int group, int index)
{
    switch (group) {
    case 6: return f.controls().Line6[index];
    case 7: return f.controls().Line7[index];
    case 9: return f.controls().Line9[index];
    default: return f.controls().Line8[index];
    }
}

// Everything 初期画面 puts in place, gathered for comparison.
struct Screen {
    QImage board, graph, table;
    QString distance;
    double px = 0, graphY = 0, tableY = 0, lastGx = 0;
    qint16 lastGy = 0;
    int dragPiece = 0;
    board::Slots pieces{};
    motion::StripTable strips{};
    QList<QLine> lines;
    QList<QRect> labels;
    QList<bool> shown;
    QPoint dot;
    bool stopEnabled = false, coverShown = false, coverChecked = false;
    QSize size;
};

Screen capture(Form1 &f)
{
    Screen s;
    f.drawWaitingPanels(); // the panels as they come into view
    s.board = f.controls().kokuban->canvas();
    s.graph = f.controls().gamen->canvas();
    s.table = f.controls().hyo->canvas();
    s.distance = f.controls().Text1->text();
    const Scene &scene = f.scene();
    s.px = scene.Px, s.graphY = f.graph().GraphY(), s.tableY = f.table().TableY();
    s.lastGx = f.graph().LastGx(), s.lastGy = f.graph().LastGy();
    s.dragPiece = scene.DragPiece;
    s.pieces = f.scene().SlotPiece;
    s.strips = f.scene().StepArea;
    for (auto *l : f.controls().Line5)
        s.lines << l->line();
    for (int group : {6, 7, 9, 8})
        for (int i = 0; i < (group == 8 ? 3 : 4); ++i)
            s.lines << templateLine(f, group, i)->line();
    for (auto *label : f.controls().Label4) {
        if (!label)
            continue; // there is no member 7
        s.labels << label->geometry();
        s.shown << label->isVisible();
    }
    for (auto *label : f.controls().Label9)
        s.shown << label->isVisible();
    s.dot = f.controls().Shape1->geometry().topLeft();
    s.stopEnabled = f.controls().tomeru->isEnabled();
    s.coverShown = f.controls().Picture1->isVisibleTo(&f);
    s.coverChecked = f.controls().Check5->isChecked();
    s.size = f.size();
    return s;
}

void compareScreens(const Screen &a, const Screen &b)
{
    QCOMPARE(a.distance, b.distance);
    QCOMPARE(a.px, b.px);
    QCOMPARE(a.graphY, b.graphY);
    QCOMPARE(a.tableY, b.tableY);
    QCOMPARE(a.lastGx, b.lastGx);
    QCOMPARE(a.lastGy, b.lastGy);
    QCOMPARE(a.dragPiece, b.dragPiece);
    QVERIFY(a.pieces == b.pieces);
    QVERIFY(a.strips == b.strips);
    QCOMPARE(a.lines, b.lines);
    QCOMPARE(a.labels, b.labels);
    QCOMPARE(a.shown, b.shown);
    QCOMPARE(a.dot, b.dot);
    QCOMPARE(a.stopEnabled, b.stopEnabled);
    QCOMPARE(a.coverShown, b.coverShown);
    QCOMPARE(a.coverChecked, b.coverChecked);
    QCOMPARE(a.size, b.size);
    QVERIFY2(a.board == b.board, "board canvas differs");
    QVERIFY2(a.graph == b.graph, "graph canvas differs");
    QVERIFY2(a.table == b.table, "table canvas differs");
}

// Uses the lesson as a pupil would before pressing 初期画面: a figure in the
// envelope, P pulled out, a template lifted, the cover shown.
void useTheLesson(Form1 &f)
{
    f.controls().kokuban->setForeColor(QColor(yellow)); // as every drop does
    SceneSetUp::putFigure(f, {1, 2, 4, 5, 6});
    f.Command2_Click();
    SceneSetUp::showFigure(f, f.scene().SlotPiece, qint16(f.scene().Px));
    for (int i = 0; i < 5; ++i)
        f.susumu_Click();
    f.board().PlaceLine6Figure(310, 200);
    f.controls().Label9[0]->setVisible(false);
    f.controls().Label9[1]->setVisible(false);
    f.controls().Check5->setChecked(true);
}

int countColour(const QImage &image, QRgb colour, QRect area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += (image.pixel(x, y) | 0xff000000u) == colour;
    return n;
}

} // namespace

class TestInitialScreen : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void sceneAndControls();
    void labelPlaces_data();
    void labelPlaces();
    void envelopeLines_data();
    void envelopeLines();
    void trayTemplates_data();
    void trayTemplates();
    void canvasesAtStart();
    void readOutIsReadOnly();
    void twiceEqualsOnce();
    void restoresAfterUse();
    void gridBackWhenChecked();
    void graphAndTableKeepWindowSize();
};

void TestInitialScreen::initTestCase() { testsupport::setUpTestApplication(); }

void TestInitialScreen::sceneAndControls()
{
    Form1 f;
    QCOMPARE(f.controls().Text1->text(), QStringLiteral(" 0.0"));
    QCOMPARE(f.scene().Px, 300.0);
    QCOMPARE(f.scene().Py, 300.0);
    QCOMPARE(QPointF(f.scene().Ax, f.scene().Ay), QPointF(300, 180));
    QCOMPARE(QPointF(f.scene().Bx, f.scene().By), QPointF(300, 300));
    QCOMPARE(QPointF(f.scene().Cx, f.scene().Cy), QPointF(500, 300));
    QCOMPARE(QPointF(f.scene().Dx, f.scene().Dy), QPointF(500, 180));
    QVERIFY((f.scene().SlotPiece == board::Slots{}));
    QCOMPARE(f.scene().DragPiece, 0);
    QCOMPARE(f.table().TableY(), 0.0);
    QCOMPARE(f.graph().GraphY(), 0.0);
    QCOMPARE(f.graph().LastGx(), 35.0);
    QCOMPARE(f.graph().LastGy(), qint16(480));

    QCOMPARE(f.controls().Shape1->geometry().topLeft(), QPoint(296, 296));
    QVERIFY(!f.controls().tomeru->isEnabled());
    const Form1Controls &c = f.controls();
    for (QPushButton *b : {c.susumu, c.modoru, c.jidou, c.Command1, c.Command2, c.end})
        QVERIFY2(b->isEnabled(), qPrintable(b->text()));
    QVERIFY(!f.controls().Picture1->isVisibleTo(&f));
    QVERIFY(!f.controls().Check5->isChecked());
    QVERIFY(f.controls().Check4->isChecked());
    QVERIFY(!f.controls().Check1->isChecked() && !f.controls().Check2->isChecked() && !f.controls().Check3->isChecked());
    QCOMPARE(f.size(), compactClient);
}

void TestInitialScreen::labelPlaces_data()
{
    QTest::addColumn<int>("array"); // 4 = Label4, 9 = Label9
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<bool>("visible");

    QTest::newRow("A") << 4 << 0 << "A" << QPoint(292, 145) << true;
    QTest::newRow("B") << 4 << 1 << "B" << QPoint(304, 300) << true;
    QTest::newRow("C") << 4 << 2 << "C" << QPoint(492, 300) << true;
    QTest::newRow("D") << 4 << 3 << QStringLiteral("Ｄ") << QPoint(492, 145) << true;
    QTest::newRow("10cm") << 4 << 4 << QStringLiteral("１０cm") << QPoint(380, 305) << true;
    QTest::newRow("6cm") << 4 << 5 << QStringLiteral("６cm") << QPoint(505, 200) << true;
    QTest::newRow("x cm, hidden") << 4 << 6 << QStringLiteral("χcm") << QPoint(300, 330) << false;
    QTest::newRow("P") << 4 << 8 << QStringLiteral("Ｐ") << QPoint(282, 300) << true;
    const QPoint trayPlaces[] = {{312, 112}, {302, 96}, {360, 112}, {353, 72},
                                 {408, 112}, {404, 48}, {512, 112}, {573, 56}};
    const char *trayCaptions[] = {"2cm", "2cm", "2cm", "4cm", "2cm", "6cm", "6cm", "6cm"};
    for (int i = 0; i < 8; ++i)
        QTest::addRow("tray label %d", i) << 9 << i << trayCaptions[i] << trayPlaces[i] << true;
}

void TestInitialScreen::labelPlaces()
{
    QFETCH(int, array);
    QFETCH(int, index);
    QFETCH(QString, caption);
    QFETCH(QPoint, at);
    QFETCH(bool, visible);
    Form1 f;
    const ui::LabelControl *label = array == 4 ? f.controls().Label4[index] : f.controls().Label9[index];
    QVERIFY(label);
    QCOMPARE(label->caption(), caption);
    QCOMPARE(label->geometry().topLeft(), at);
    QCOMPARE(label->isVisible(), visible);
}

void TestInitialScreen::envelopeLines_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QLine>("line");

    QTest::newRow("base line") << 0 << QLine(20, 300, 500, 300);
    QTest::newRow("side CD") << 1 << QLine(500, 300, 500, 180);
    QTest::newRow("side DA") << 2 << QLine(500, 180, 300, 180);
    QTest::newRow("side AB") << 3 << QLine(300, 180, 300, 300);
    QTest::newRow("red bar parked") << 4 << QLine(310, 800, 300, 800);
    QTest::newRow("flap upper slant") << 5 << QLine(300, 180, 280, 195);
    QTest::newRow("flap outer edge") << 6 << QLine(280, 195, 280, 285);
    QTest::newRow("flap lower slant") << 7 << QLine(280, 285, 300, 300);
}

void TestInitialScreen::envelopeLines()
{
    QFETCH(int, index);
    QFETCH(QLine, line);
    Form1 f;
    QCOMPARE(f.controls().Line5[index]->line(), line);
}

void TestInitialScreen::trayTemplates_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<QList<QLine>>("lines");

    // Every template stands on y = 125 in the tray; rectangles are drawn
    // top, right, bottom, left; the triangle base, upright, hypotenuse.
    QTest::newRow("square") << 6 << QList<QLine>{{300, 85, 340, 85}, {340, 85, 340, 125},
                                                 {340, 125, 300, 125}, {300, 125, 300, 85}};
    QTest::newRow("2x4") << 7 << QList<QLine>{{350, 45, 390, 45}, {390, 45, 390, 125},
                                              {390, 125, 350, 125}, {350, 125, 350, 45}};
    QTest::newRow("2x6") << 9 << QList<QLine>{{400, 5, 440, 5}, {440, 5, 440, 125},
                                              {440, 125, 400, 125}, {400, 125, 400, 5}};
    QTest::newRow("triangle") << 8 << QList<QLine>{{450, 125, 570, 125}, {570, 125, 570, 5},
                                                   {570, 5, 450, 125}};
}

void TestInitialScreen::trayTemplates()
{
    QFETCH(int, group);
    QFETCH(QList<QLine>, lines);
    Form1 f;
    for (int i = 0; i < lines.size(); ++i)
        QCOMPARE(templateLine(f, group, i)->line(), lines[i]);
}

void TestInitialScreen::canvasesAtStart()
{
    Form1 f;
    f.drawWaitingPanels(); // the hidden panels as they come into view
    // Board: cleared, no grid, no shading.
    const QImage &board = f.controls().kokuban->canvas();
    QCOMPARE(countColour(board, boardGreen, board.rect()), board.width() * board.height());

    // Graph: drawn empty; with グラフ unchecked not even the origin point.
    const QImage &graph = f.controls().gamen->canvas();
    QCOMPARE(countColour(graph, valueBlue, graph.rect()), 0);
    QVERIFY(countColour(graph, boardGreen, graph.rect()) > 0);

    // Table: the "0" of x = 0 in both rows, nothing else.
    const QImage &table = f.controls().hyo->canvas();
    constexpr int zeroLeft = 60, xRowTop = 25, yRowTop = 70;
    const QSize cell(20, 30); // wide and tall enough for "0" in the table font
    const QRect xZero(QPoint(zeroLeft, xRowTop), cell), yZero(QPoint(zeroLeft, yRowTop), cell);
    const int inCells = countColour(table, valueBlue, xZero) + countColour(table, valueBlue, yZero);
    QVERIFY(countColour(table, valueBlue, xZero) > 0);
    QVERIFY(countColour(table, valueBlue, yZero) > 0);
    QCOMPARE(countColour(table, valueBlue, table.rect()), inCells);
}

void TestInitialScreen::readOutIsReadOnly()
{
    Form1 f;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f, testsupport::patienceMs));
    QVERIFY(f.controls().Text1->isReadOnly());
    f.controls().Text1->setFocus();
    QTest::keyClicks(f.controls().Text1, QStringLiteral("7"));
    QTest::keyClick(f.controls().Text1, Qt::Key_Backspace);
    QCOMPARE(f.controls().Text1->text(), QStringLiteral(" 0.0"));
}

void TestInitialScreen::twiceEqualsOnce()
{
    Form1 f;
    useTheLesson(f);
    f.Command1_Click();
    const Screen once = capture(f);
    f.Command1_Click();
    compareScreens(capture(f), once);
}

void TestInitialScreen::restoresAfterUse()
{
    Form1 fresh;
    const Screen start = capture(fresh);

    Form1 f;
    useTheLesson(f);
    QVERIFY(f.controls().Picture1->isVisibleTo(&f));
    f.Command1_Click();
    compareScreens(capture(f), start);
    if (QTest::currentTestFailed())
        return;
    // The pen colour a drop set is the one thing left as it was.
    QCOMPARE(f.controls().kokuban->foreColor(), QColor(yellow));
}

void TestInitialScreen::gridBackWhenChecked()
{
    Form1 fresh;
    fresh.controls().Check1->setChecked(true); // the grid on the cleared start-up board
    const QImage gridOnly = fresh.controls().kokuban->canvas();

    Form1 f;
    f.controls().Check1->setChecked(true);
    useTheLesson(f);
    f.Command1_Click();
    QVERIFY(f.controls().Check1->isChecked());
    QVERIFY(f.controls().kokuban->canvas() == gridOnly);
    QCOMPARE(f.controls().kokuban->pixel(40, 250), QColor(Qt::black)); // column x = 2 cm left of the flap
}

void TestInitialScreen::graphAndTableKeepWindowSize()
{
    Form1 fresh;
    fresh.drawWaitingPanels();
    const QImage tableAtStart = fresh.controls().hyo->canvas();

    Form1 f;
    f.controls().Check2->setChecked(true);
    f.controls().Check3->setChecked(true);
    QCOMPARE(f.size(), fullClient);
    useTheLesson(f);
    f.Command1_Click();
    QCOMPARE(f.size(), fullClient);
    QVERIFY(f.controls().Check2->isChecked() && f.controls().Check3->isChecked());
    // Only the x = 0 column, and the origin plotted on the empty graph.
    QVERIFY(f.controls().hyo->canvas() == tableAtStart);
    const QImage &graph = f.controls().gamen->canvas();
    const QRect nearOrigin(graphOrigin - QPoint(2, 2), QSize(5, 5));
    QVERIFY(countColour(graph, valueBlue, nearOrigin) > 0);
    QCOMPARE(countColour(graph, valueBlue, graph.rect()), countColour(graph, valueBlue, nearOrigin));
}

QTEST_MAIN(TestInitialScreen)
#include "tst_initial_screen.moc"
