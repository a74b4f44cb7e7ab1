// On a screen scaled x2 the canvases hold two device pixels per surface pixel
// (sharp lines and text), and the shading is the same as at x1 at every probe
// point. The x1 colours come from this same program run in a child process at
// scale 1 (`--probes`), so both scales draw through the very same code.
#include "TestSupport.h"

#include <QCheckBox>
#include <QProcess>
#include <QtTest>

namespace {

constexpr int probeStep = 3;   // probe every third board pixel
constexpr int probeMargin = 4; // and only well away from any outline or side AB

struct Case {
    board::Slots figure;
    bool grid;
};

// Full figures, so that every kind of piece lies at every offset P reaches.
const std::array<Case, 4> cases = {{
    {{1, 2, 3, 4, 5}, false}, // the 4 at slot 3 has its 5 only: drawn from the 4
    {{4, 5, 6, 3, 1}, true},
    {{3, 1, 4, 5, 6}, false},
    {{2, 3, 1, 2, 3}, true},
}};

// Is board pixel (x, y) at least probeMargin px inside one piece of the figure
// drawn from pos, and that far from AB?
bool wellInside(const board::Slots &figure, int pos, int x, int y)
{
    if (std::abs(x - 300) < probeMargin || y > 300 - probeMargin)
        return false;
    for (int s = 0; s < 5; ++s) {
        const int left = pos + 40 * s;
        const int code = figure[std::size_t(s)];
        if (code >= 1 && code <= 3) {
            const int top = 300 - 40 * code;
            if (x >= left + probeMargin && x <= left + 40 - probeMargin && y >= top + probeMargin)
                return true;
        } else if (code == 4) {
            // Under the hypotenuse from (left, 300) to (left + 120, 180), with margin.
            const double below = y - (300 - (x - left));
            if (x <= left + 120 - probeMargin && below >= probeMargin * 1.5)
                return true;
        }
    }
    return false;
}

// One letter per probe point: W white, G grey, anything else '?'.
QString probeColours()
{
    Form1 f;
    f.controls().kokuban->setForeColor(QColor(testsupport::yellow));
    QString out;
    for (const Case &c : cases) {
        f.controls().Check1->setChecked(c.grid);
        for (int pos = 100; pos <= 300; pos += 10) {
            SceneSetUp::showFigure(f, c.figure, qint16(pos));
            for (int y = 180; y <= 300; y += probeStep)
                for (int x = 100; x <= 590; x += probeStep) {
                    if (!wellInside(c.figure, pos, x, y))
                        continue;
                    const QColor colour = f.controls().kokuban->pixel(x, y);
                    out += colour == QColor(testsupport::white) ? 'W' : colour == QColor(testsupport::grey) ? 'G' : '?';
                }
        }
    }
    return out;
}

} // namespace

class HiDpiTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        testsupport::setUpTestApplication();
        QCOMPARE(qApp->devicePixelRatio(), 2.0);
    }

    void canvasesHoldDevicePixels()
    {
        Form1 f;
        QCOMPARE(f.controls().kokuban->canvas().size(), QSize(1202, 818));
        QCOMPARE(f.controls().gamen->canvas().size(), QSize(786, 1026));
        QCOMPARE(f.controls().hyo->canvas().size(), QSize(1218, 226));
        // A 1-px grid line is two device pixels wide, not a blown-up blur:
        // only exact colours appear on the canvas.
        f.controls().Check1->setChecked(true);
        const QImage &board = f.controls().kokuban->canvas();
        using testsupport::black;
        const QRgb green = testsupport::boardGreen;
        // The line x = 40 covers board column 40: device columns 80 and 81.
        const int y = 2 * 250;
        QCOMPARE(board.pixel(2 * 40 - 1, y) & 0xffffff, green & 0xffffff);
        QCOMPARE(board.pixel(2 * 40, y) & 0xffffff, black & 0xffffff);
        QCOMPARE(board.pixel(2 * 40 + 1, y) & 0xffffff, black & 0xffffff);
        QCOMPARE(board.pixel(2 * 40 + 2, y) & 0xffffff, green & 0xffffff);
    }

    void shadingMatchesScaleOne()
    {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("1"));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--probes")});
        QVERIFY(child.waitForFinished(120000));
        QCOMPARE(child.exitCode(), 0);
        const QString atOne = QString::fromLatin1(child.readAllStandardOutput()).trimmed();
        const QString atTwo = probeColours();
        QVERIFY(atOne.size() > 10000);
        QVERIFY(!atOne.contains(QLatin1Char('?')));
        QCOMPARE(atTwo.size(), atOne.size());
        for (qsizetype i = 0; i < atOne.size(); ++i)
            if (atOne[i] != atTwo[i])
                QFAIL(qPrintable(QStringLiteral("probe %1 differs").arg(i)));
    }
};

int main(int argc, char *argv[])
{
    const bool dumpProbes = argc > 1 && QByteArray(argv[1]) == "--probes";
    if (!dumpProbes)
        qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    if (dumpProbes) {
        testsupport::setUpTestApplication();
        QTextStream(stdout) << probeColours() << Qt::endl;
        return 0;
    }
    HiDpiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hidpi.moc"
