// How the window's line and label controls look on screen: opaque labels
// keep the boxes the design gives them, whatever the stand-in face
// measures; the envelope's 3-px sides meet in closed corners; the table's
// column rule shows its full 3 px beside the heading "χ".

#include "LessonTest.h"

#include <QLabel>
#include <QTest>

namespace {

using namespace testsupport;

const QRgb windowGreen = app::windowGreen.rgb(); // the window's background

// The opaque labels, in window, board or table pixels: each must keep the
// box the design table gives it.
struct DesignBox {
    const char *name;
    QRect (*box)(const Form1 &);
    QRect design;
};
#define DESIGN_BOX(label, caption) \
    {#label " " caption, [](const Form1 &f) { return f.controls().label->geometry(); }, app::placeOf(#label)}
const DesignBox designBoxes[] = {
    DESIGN_BOX(Label6, "関数の利用"), DESIGN_BOX(Label3, "速度"), DESIGN_BOX(Label8, "credit"),
    DESIGN_BOX(Label1, "点Ｐが動いた距離χ"), DESIGN_BOX(Label2, "cm"), DESIGN_BOX(Label5, "χ"),
    DESIGN_BOX(Label7, "ｙ"),
};
#undef DESIGN_BOX

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
        const QRgb titleBlue = app::titleBlue.rgb();
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
