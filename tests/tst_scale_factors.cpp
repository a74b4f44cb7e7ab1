// At every scale factor a school laptop, a projector or a browser zoom may
// use, the board, the graph and the table are the picture of scale 1, scaled.
//
// This process draws at scale 1. For each factor it runs itself again as a
// child with QT_SCALE_FACTOR set (`--scaled`); the child draws the very same
// scenes through the very same code and reads each canvas back at scale 1:
// one sample per surface pixel, after checking that every device pixel of
// that pixel's block has the same colour. The two readings must agree pixel
// for pixel. Only the graph's label texts are left out of the comparison:
// glyphs are drawn at device resolution, so they are sharper than scaled-up
// pixels (their erasing is checked on its own, in device pixels).
#include "TestSupport.h"

#include "graph/GraphScale.h"

#include <QBackingStore>
#include <QCheckBox>
#include <QHashFunctions>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <vector>

namespace {

using Figure = board::Slots;

#ifdef KANSU_SANITIZED_BUILD
// Under the sanitizers every pixel costs many times more: the sanitized
// pass looks for memory faults on a few factors that round in different
// ways and on every fourth offset; the plain pass checks every row.
const QList<qreal> factors = {1.25, 1.6, 3};
constexpr int posStep = 40;
#else
const QList<qreal> factors = {1.25, 1.5, 1.6, 1.75, 2, 2.5, 3}; // 1.6: some tablets
constexpr int posStep = 10;
#endif

// Slot codes: 1 square, 2 and 3 the tall rectangles, 4 5 6 a triangle.
// Every piece in every slot it can stand in, alone, and some full figures.
std::vector<Figure> boardFigures()
{
    std::vector<Figure> figures;
    for (int code = 1; code <= 3; ++code)
        for (int slot = 0; slot < 5; ++slot) {
            Figure f{};
            f[std::size_t(slot)] = code;
            figures.push_back(f);
        }
    for (int slot = 0; slot <= 2; ++slot) {
        Figure f{};
        f[std::size_t(slot)] = 4;
        f[std::size_t(slot) + 1] = 5;
        f[std::size_t(slot) + 2] = 6;
        figures.push_back(f);
    }
    figures.push_back({1, 2, 3, 2, 1});
    figures.push_back({4, 5, 6, 3, 1});
    figures.push_back({3, 1, 4, 5, 6});
    return figures;
}

// P's positions: B (300) to the end of travel (100) in 0.5-cm steps, so a
// piece's left side passes every offset from 100 to 460.
constexpr int firstPos = 100, lastPos = 300;

// The canvas read back at one sample per surface pixel. A block that is not
// of one colour is marked magenta in the result and counted.
QImage atScaleOne(const ui::Surface &surface, int *mixedBlocks, const QRegion &leftOut = {})
{
    const QImage &canvas = surface.canvas();
    const qreal dpr = canvas.devicePixelRatio();
    const QSize size = surface.size();
    QImage out(size, QImage::Format_RGB32);
    auto edge = [dpr](int k) { return qRound(k * dpr); };
    // Each surface column's device columns, and the bytes of a device row
    // that all of them cover.
    std::vector<int> columnStart(std::size_t(size.width())), columnEnd(std::size_t(size.width()));
    for (int x = 0; x < size.width(); ++x) {
        columnStart[std::size_t(x)] = edge(x);
        columnEnd[std::size_t(x)] = std::min(edge(x + 1), canvas.width());
    }
    const auto spanBytes = std::size_t(std::min(edge(size.width()), canvas.width())) * sizeof(QRgb);
    std::vector<char> leftOutHere(std::size_t(size.width()));
    for (int y = 0; y < size.height(); ++y) {
        std::fill(leftOutHere.begin(), leftOutHere.end(), 0);
        for (const QRect &r : leftOut)
            if (r.top() <= y && y <= r.bottom())
                for (int x = std::max(r.left(), 0); x <= std::min(r.right(), size.width() - 1); ++x)
                    leftOutHere[std::size_t(x)] = 1;
        auto *row = reinterpret_cast<QRgb *>(out.scanLine(y));
        const int top = edge(y);
        const int rowEnd = std::min(edge(y + 1), canvas.height());
        const auto *topRow = reinterpret_cast<const QRgb *>(canvas.constScanLine(top));
        // Where the block row's device rows all equal its top one, a block
        // is of one colour when its part of the top row is.
        bool rowsAlike = true;
        for (int dy = top + 1; rowsAlike && dy < rowEnd; ++dy)
            rowsAlike = std::memcmp(canvas.constScanLine(dy), topRow, spanBytes) == 0;
        for (int x = 0; x < size.width(); ++x) {
            const std::size_t c = std::size_t(x);
            const QRgb first = topRow[columnStart[c]];
            auto oneColour = [&](const QRgb *device) {
                return std::all_of(device + columnStart[c], device + columnEnd[c], [first](QRgb p) { return p == first; });
            };
            bool same = oneColour(topRow);
            for (int dy = top + 1; same && !rowsAlike && dy < rowEnd; ++dy)
                same = oneColour(reinterpret_cast<const QRgb *>(canvas.constScanLine(dy)));
            if (leftOutHere[c])
                same = false;
            else if (!same)
                ++*mixedBlocks;
            row[x] = same ? first : qRgb(255, 0, 255);
        }
    }
    return out;
}

// A fingerprint of the pixels: any difference between two scenes changes it
// but for a chance of one in 2^64. Qt's hash of bytes with a fixed seed is
// the same in every process, and far cheaper than a cryptographic digest.
QByteArray digest(const QImage &image)
{
    const size_t hash = qHashBits(image.constBits(), size_t(image.sizeInBytes()), 0);
    return QByteArray::number(quint64(hash), 16);
}

// One line per board scene: "<figure index> <pos> <view> <digest> <mixed blocks>",
// the view 0 or 1 without or with the grid, 2 or 3 so in the contrast view.
QStringList boardReadings()
{
    Form1 f;
    f.controls().kokuban->setForeColor(QColor(testsupport::yellow)); // the pen colour after building
    QStringList lines;
    const auto figures = boardFigures();
    for (std::size_t i = 0; i < figures.size(); ++i)
        for (const int view : {0, 1, 2, 3}) {
            const bool grid = view % 2;
            f.setContrastView(view >= 2);
            f.controls().Check1->setChecked(grid);
            for (int pos = firstPos; pos <= lastPos; pos += posStep) {
                SceneSetUp::showFigure(f, figures[i], qint16(pos));
                int mixed = 0;
                const QImage image = atScaleOne(*f.controls().kokuban, &mixed);
                lines << QStringLiteral("%1 %2 %3 %4 %5")
                             .arg(i)
                             .arg(pos)
                             .arg(view)
                             .arg(QString::fromLatin1(digest(image)))
                             .arg(mixed);
            }
        }
    return lines;
}

// A lesson with the graph and the table shown: the figure is built, P goes
// out step by step, back some way, out again to the end, back to B, and
// half way out again. The table holds only texts: its erasing is checked in
// device pixels, as is that of the graph's labels.
struct LessonPictures {
    QImage graph;
    bool tableErasedExactly = true;
    bool graphTextsErasedExactly = true;
};

void step(Form1 &f, bool forward, int times)
{
    for (int i = 0; i < times; ++i)
        forward ? f.susumu_Click() : f.modoru_Click();
}

// The graph's label texts: left out of the scale-1 comparison.
QRegion graphTextAreas(ui::Surface &graphSurface)
{
    QRegion texts;
    for (const graph::AxisText &t : graph::axisTexts())
        texts += graphSurface.printExtent(t.text, t.at);
    return texts;
}

QImage deviceArea(const ui::Surface &surface, QRect area)
{
    const qreal dpr = surface.canvas().devicePixelRatio();
    return surface.canvas().copy(QRectF(area.x() * dpr, area.y() * dpr, area.width() * dpr,
                                        area.height() * dpr)
                                     .toAlignedRect());
}

LessonPictures lessonPictures(const QDir &out, int *mixedBlocks)
{
    Form1 f;
    f.show();
    f.controls().Check2->setChecked(true);
    f.controls().Check3->setChecked(true);
    SceneSetUp::putFigure(f, {1, 4, 5, 6, 2});
    f.Command2_Click();
    SceneSetUp::showFigure(f, f.scene().SlotPiece, 300);
    LessonPictures pictures;

    const QImage tableAtB = f.controls().hyo->canvas();
    // The graph's labels before any segment crossed them, in device pixels.
    std::vector<QImage> labelsBefore;
    const QRegion texts = graphTextAreas(*f.controls().gamen);
    for (const QRect &r : texts)
        labelsBefore.push_back(deviceArea(*f.controls().gamen, r));

    step(f, true, 9);
    const QImage tableAt45 = f.controls().hyo->canvas();
    step(f, true, 3);
    step(f, false, 3);
    pictures.tableErasedExactly = f.controls().hyo->canvas() == tableAt45;
    step(f, true, 20);
    step(f, false, 20);
    pictures.tableErasedExactly = pictures.tableErasedExactly && f.controls().hyo->canvas() == tableAtB;
    std::size_t i = 0;
    for (const QRect &r : texts)
        pictures.graphTextsErasedExactly =
            pictures.graphTextsErasedExactly && deviceArea(*f.controls().gamen, r) == labelsBefore[i++];

    // The curve as it stands half way out, with segments drawn and erased.
    step(f, true, 13);
    step(f, false, 4);
    pictures.graph = atScaleOne(*f.controls().gamen, mixedBlocks, texts);
    pictures.graph.save(out.filePath(QStringLiteral("graph.png")));
    return pictures;
}

namespace screen {

// The window's backing store holds what the screen shows.
QImage shown(Form1 &f)
{
    const auto *stored = dynamic_cast<const QImage *>(f.backingStore()->paintDevice());
    return stored ? stored->convertToFormat(QImage::Format_RGB32) : QImage();
}

// Every widget of the window painted afresh, whole (QWidget::repaint() of
// the window alone leaves its opaque children as they are).
void repaintAll(Form1 &f)
{
    f.update();
    for (QWidget *child : f.findChildren<QWidget *>())
        child->update();
    QCoreApplication::processEvents();
}

int differing(const QImage &a, const QImage &b)
{
    if (a.isNull() || a.size() != b.size())
        return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

} // namespace screen

// Before anything is drawn on them, the panels are painted without canvases
// of their own. The same window once they have them, all background, must
// look the same. Returns how many pixels differ.
int blankReading()
{
    Form1 f;
    f.controls().Check2->setChecked(true);
    f.controls().Check3->setChecked(true);
    f.show();
    if (!QTest::qWaitForWindowExposed(&f, testsupport::patienceMs))
        return -1;
    QCoreApplication::processEvents();
    const QImage blank = screen::shown(f);
    for (const ui::Surface *surface : {f.controls().kokuban, f.controls().gamen, f.controls().hyo})
        (void)surface->canvas(); // made on the spot, all background
    screen::repaintAll(f);
    return screen::differing(blank, screen::shown(f));
}

// What the screen shows after the pupil builds and steps, each change
// repainted as it happens. Against the whole window repainted afresh the
// same way: a part repainted short of its edges would leave old pixels
// (stale). Against the window rendered on its own (QWidget::grab): a canvas
// put on the screen shifted or resampled would differ all along its
// pictures (misplaced). Returns "<stale> <misplaced>".
// In the contrast view the view is switched half way, before P goes back.
QString screenReadings(bool contrast)
{
    Form1 f;
    f.controls().Check1->setChecked(true);
    f.controls().Check2->setChecked(true);
    f.controls().Check3->setChecked(true);
    f.show();
    if (!QTest::qWaitForWindowExposed(&f, testsupport::patienceMs))
        return QStringLiteral("not shown");
    auto settle = [] { QCoreApplication::processEvents(); };
    const Figure figure{1, 4, 5, 6, 3};
    for (std::size_t s = 0; s < figure.size(); ++s) {
        SceneSetUp::of(f).SlotPiece[s] = figure[s];
        f.Command2_Click();
        SceneSetUp::showFigure(f, f.scene().SlotPiece, 300);
        settle();
    }
    for (int i = 0; i < 14; ++i) {
        f.susumu_Click();
        settle();
    }
    f.setContrastView(contrast);
    for (int i = 0; i < 5; ++i) {
        f.modoru_Click();
        settle();
    }
    auto screen = [&f] { return screen::shown(f); };
    using screen::differing;
    const QImage stepped = screen();
    const QImage rendered = f.grab().toImage().convertToFormat(QImage::Format_RGB32);
    screen::repaintAll(f);
    return QStringLiteral("%1 %2").arg(differing(stepped, screen())).arg(differing(stepped, rendered));
}

// Leaves out of both pictures whatever either of them left out.
void maskTogether(QImage &a, QImage &b)
{
    const QRgb mask = qRgb(255, 0, 255);
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) == mask || b.pixel(x, y) == mask) {
                a.setPixel(x, y, mask);
                b.setPixel(x, y, mask);
            }
}

QString firstDifference(const QImage &a, const QImage &b)
{
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return QStringLiteral("(%1,%2): %3 at scale 1, %4 scaled")
                    .arg(x)
                    .arg(y)
                    .arg(QColor(a.pixel(x, y)).name(), QColor(b.pixel(x, y)).name());
    return {};
}

QByteArray runScaled(qreal factor, const QString &mode, const QString &outDir)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::number(factor));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--scaled"), mode, outDir});
    // No limit of its own: a child that hangs is caught by the test's
    // limit in CTest, and a slow one (a busy machine) must not fail.
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        return {};
    return child.readAllStandardOutput();
}

} // namespace

class ScaleFactorTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        testsupport::setUpTestApplication();
        QCOMPARE(qApp->devicePixelRatio(), 1.0);
    }

    void boardIsScaleOneScaled_data()
    {
        QTest::addColumn<qreal>("factor");
        for (const qreal factor : factors)
            QTest::newRow(qPrintable(QString::number(factor))) << factor;
    }

    void boardIsScaleOneScaled()
    {
        QFETCH(qreal, factor);
        static const QStringList atOne = boardReadings();
        const QStringList scaled =
            QString::fromLatin1(runScaled(factor, QStringLiteral("board"), {})).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(scaled.size(), atOne.size());
        const auto figures = boardFigures();
        QStringList wrong;
        for (qsizetype i = 0; i < atOne.size(); ++i) {
            const QStringList one = atOne[i].split(QLatin1Char(' '));
            const QStringList two = scaled[i].split(QLatin1Char(' '));
            QCOMPARE(two.mid(0, 3), one.mid(0, 3)); // the same scene
            QCOMPARE(one[4], QStringLiteral("0"));
            if (two[3] != one[3] || two[4] != QStringLiteral("0")) {
                const Figure &fig = figures[std::size_t(one[0].toInt())];
                wrong << QStringLiteral("figure %1%2%3%4%5 at %6, view %7 (%8 mixed blocks)")
                             .arg(fig[0])
                             .arg(fig[1])
                             .arg(fig[2])
                             .arg(fig[3])
                             .arg(fig[4])
                             .arg(one[1], one[2], two[4]);
            }
        }
        if (!wrong.isEmpty())
            QFAIL(qPrintable(QStringLiteral("%1 of %2 scenes differ from scale 1, first: %3")
                                 .arg(wrong.size())
                                 .arg(atOne.size())
                                 .arg(wrong.first())));
    }

    void screenShowsTheCanvases_data()
    {
        QTest::addColumn<qreal>("factor");
        QTest::addColumn<QString>("mode");
        QTest::newRow("1") << qreal(1) << QStringLiteral("screen");
        for (const qreal factor : factors)
            QTest::newRow(qPrintable(QString::number(factor))) << factor << QStringLiteral("screen");
        for (const qreal factor : {1.0, 1.6})
            QTest::addRow("%g, contrast view", factor) << factor << QStringLiteral("screen-contrast");
    }

    void screenShowsTheCanvases()
    {
        QFETCH(qreal, factor);
        QFETCH(QString, mode);
        const QStringList readings =
            QString::fromLatin1(runScaled(factor, mode, {})).trimmed().split(QLatin1Char(' '));
        QCOMPARE(readings.size(), 3);
        QCOMPARE(readings[0], QStringLiteral("0")); // no stale pixel
        QCOMPARE(readings[2], QStringLiteral("0")); // blank panels as their canvases
        // Where a surface starts inside a device pixel (at 1.6 the board
        // starts at 25.6), a rendering on its own may round a control's edge
        // the other way at a pixel or two; a misplaced canvas differs by
        // hundreds.
        constexpr int edgeRounding = 4;
        QVERIFY2(readings[1].toInt() >= 0 && readings[1].toInt() <= edgeRounding,
                 qPrintable(QStringLiteral("%1 pixels differ from the window rendered on its own").arg(readings[1])));
    }

    void graphAndTableAreScaleOneScaled_data() { boardIsScaleOneScaled_data(); }

    void graphAndTableAreScaleOneScaled()
    {
        QFETCH(qreal, factor);
        QTemporaryDir one, scaled;
        int mixedAtOne = 0;
        const LessonPictures atOne = lessonPictures(QDir(one.path()), &mixedAtOne);
        QCOMPARE(mixedAtOne, 0);
        QVERIFY(atOne.tableErasedExactly);
        QVERIFY(atOne.graphTextsErasedExactly);

        const QStringList report =
            QString::fromLatin1(runScaled(factor, QStringLiteral("lesson"), scaled.path())).split(QLatin1Char(' '));
        QCOMPARE(report.size(), 3);
        QCOMPARE(report[0], QStringLiteral("mixed=0"));
        QCOMPARE(report[1], QStringLiteral("table-erase=1")); // columns erased exactly
        QCOMPARE(report[2].trimmed(), QStringLiteral("labels-erase=1"));

        QImage graphAtOne = atOne.graph;
        QImage graphScaled(QDir(scaled.path()).filePath(QStringLiteral("graph.png")));
        QCOMPARE(graphScaled.size(), graphAtOne.size());
        graphScaled = graphScaled.convertToFormat(graphAtOne.format());
        maskTogether(graphAtOne, graphScaled);
        // Grid, axes and the curve, drawn and erased: the same pixels.
        const QString difference = firstDifference(graphAtOne, graphScaled);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }
};

int main(int argc, char *argv[])
{
    const bool scaled = argc > 2 && QByteArray(argv[1]) == "--scaled";
    if (!scaled)
        qputenv("QT_SCALE_FACTOR", "1");
    QApplication app(argc, argv);
    if (scaled) {
        testsupport::setUpTestApplication();
        QTextStream out(stdout);
        if (QByteArray(argv[2]).startsWith("screen")) {
            out << screenReadings(QByteArray(argv[2]) == "screen-contrast") << ' ' << blankReading() << '\n';
        } else if (QByteArray(argv[2]) == "board") {
            for (const QString &line : boardReadings())
                out << line << '\n';
        } else {
            int mixed = 0;
            const LessonPictures pictures = lessonPictures(QDir(QString::fromLocal8Bit(argv[3])), &mixed);
            out << "mixed=" << mixed << " table-erase=" << int(pictures.tableErasedExactly)
                << " labels-erase=" << int(pictures.graphTextsErasedExactly) << '\n';
        }
        return 0;
    }
    ScaleFactorTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_scale_factors.moc"
