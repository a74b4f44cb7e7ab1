// How the window's line and label controls look on screen: opaque labels
// keep the boxes the design gives them, whatever the stand-in face
// measures; the envelope's 3-px sides meet in closed corners; the table's
// column rule shows its full 3 px beside the heading "χ".

#include "LessonTest.h"

#include <QLabel>
#include <QTest>

namespace {

using namespace testsupport;

constexpr QRgb titleBlue = qRgb(0, 0, 255);       // Label6's box
constexpr QRgb windowGreen = qRgb(192, 255, 192); // the window's background

// The opaque labels with the boxes the design gives them, in window, board
// or table pixels.
struct DesignBox {
    const char *name;
    QRect (*box)(const Form1 &);
    QRect design;
};
const DesignBox designBoxes[] = {
    {"Label6 関数の利用", [](const Form1 &f) { return f.controls().Label6->geometry(); }, {16, 16, 160, 33}},
    {"Label3 速度", [](const Form1 &f) { return f.controls().Label3->geometry(); }, {224, 488, 38, 19}},
    {"Label8 credit", [](const Form1 &f) { return f.controls().Label8->geometry(); }, {912, 664, 113, 12}},
    {"Label1 点Ｐが動いた距離χ", [](const Form1 &f) { return f.controls().Label1->geometry(); }, {24, 360, 206, 24}},
    {"Label2 cm", [](const Form1 &f) { return f.controls().Label2->geometry(); }, {336, 368, 28, 21}},
    {"Label5 χ", [](const Form1 &f) { return f.controls().Label5->geometry(); }, {0, 16, 33, 33}},
    {"Label7 ｙ", [](const Form1 &f) { return f.controls().Label7->geometry(); }, {8, 64, 17, 33}},
};

QRgb at(const QImage &image, int x, int y) { return image.pixel(x, y) | 0xff000000u; }

} // namespace

class ControlsLookTest : public LessonTest
{
    Q_OBJECT
public:
    ControlsLookTest() : LessonTest(Window::WholeShown) {}

private slots:
    void opaqueLabelsKeepTheirDesignBoxes_data()
    {
        QTest::addColumn<int>("label"); // index into designBoxes
        for (int i = 0; i < int(std::size(designBoxes)); ++i)
            QTest::newRow(designBoxes[i].name) << i;
    }
    void opaqueLabelsKeepTheirDesignBoxes()
    {
        QFETCH(int, label);
        const DesignBox &expected = designBoxes[label];
        QCOMPARE(expected.box(*f), expected.design);
    }

    // The blue title box ends on its design's last row, the 33rd.
    void titleBoxEndsOnItsLastRow()
    {
        const QImage window = f->grab().toImage();
        const QRect box = designBoxes[0].design; // Label6
        for (int x = box.left(); x <= box.right(); ++x) {
            QVERIFY2(at(window, x, box.bottom()) == titleBlue,
                     qPrintable(QStringLiteral("title box open at (%1,%2)").arg(x).arg(box.bottom())));
            QVERIFY2(at(window, x, box.bottom() + 1) == windowGreen,
                     qPrintable(QStringLiteral("title box reaches (%1,%2)").arg(x).arg(box.bottom() + 1)));
        }
    }

    // Where two 3-px sides of the envelope meet, the 3 x 3 pixels around the
    // corner are all white. B is left out: P's red dot lies over it.
    void envelopeCornersClose_data()
    {
        QTest::addColumn<QPoint>("corner");
        QTest::newRow("A") << QPoint(board::sideAbX, board::envelopeTop);
        QTest::newRow("C") << QPoint(board::envelopeRight, board::baseY);
        QTest::newRow("D") << QPoint(board::envelopeRight, board::envelopeTop);
    }
    void envelopeCornersClose()
    {
        QFETCH(QPoint, corner);
        const QImage board = f->controls().kokuban->grab().toImage();
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const QPoint p = corner + QPoint(dx, dy);
                QVERIFY2(at(board, p.x(), p.y()) == white,
                         qPrintable(QStringLiteral("corner open at (%1,%2)").arg(p.x()).arg(p.y())));
            }
    }

    // The column rule Line2, 3 px wide from y = 8 to 104 at x = 32, shows all
    // three columns along its whole length, beside "χ" too.
    void tableRuleIsThreePixelsWideThroughout()
    {
        const QImage table = f->controls().hyo->grab().toImage();
        const QLine rule = f->controls().Line2->line();
        QCOMPARE(rule, QLine(32, 8, 32, 104));
        for (int y = rule.y1(); y < rule.y2(); ++y)
            for (int x = rule.x1() - 1; x <= rule.x1() + 1; ++x)
                QVERIFY2(at(table, x, y) == black,
                         qPrintable(QStringLiteral("rule not black at (%1,%2)").arg(x).arg(y)));
    }
};

QTEST_MAIN(ControlsLookTest)
#include "tst_controls_look.moc"
