// Pure rules that need no display: the number texts, the palette, the
// canvas, the boundary flood fill, the distance text and slot of a step, the table and
// graph text positions and the window size in twips.

#include "app/WindowSizes.h"
#include "graph/GraphScale.h"
#include "motion/PointerRules.h"
#include "motion/StripRules.h"
#include "table/TableLayout.h"
#include "ui/Canvas.h"
#include "ui/fast/CanvasRows.h"
#include "ui/fast/FloodFill.h"
#include "ui/NumberForm.h"
#include "ui/Palette.h"
#include "ui/fast/PixelRows.h"

#include <QImage>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>

namespace {

// Colours of the flood-fill maps below, one character per pixel.
constexpr QRgb open = 0xffffffff;         // '.' background
constexpr QRgb border = 0xffff0000;       // '#' the boundary colour
constexpr QRgb other = 0xff000000;        // 'k' some other colour (a grid line)
constexpr QRgb nearBorder = 0xfffe0000;   // 'n' one step off the boundary colour
constexpr QRgb fill = 0xffc0c0c0;         // 'F' the fill colour

QRgb colourOf(QChar c)
{
    switch (c.toLatin1()) {
    case '#': return border;
    case 'k': return other;
    case 'n': return nearBorder;
    case 'F': return fill;
    default: return open;
    }
}

QImage imageFromMap(const QStringList &rows)
{
    QImage image(int(rows.first().size()), int(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, colourOf(rows[y][x]));
    return image;
}

} // namespace

class TestUiRules : public QObject
{
    Q_OBJECT
private slots:
    void generalNumber_data();
    void generalNumber();
    void leadingNumber_data();
    void leadingNumber();
    void paletteColor_data();
    void paletteColor();
    void colorFromBgr();
    void floodFillBorder_data();
    void floodFillBorder();
    void floodFillMatchesAPlainFill();
    void floodFillInAnyColour_data();
    void floodFillInAnyColour();
    void pixelRuns_data();
    void pixelRuns();
    void fillUntil_data();
    void fillUntil();
    void canvasRectangles_data();
    void canvasRectangles();
    void canvasWithoutADisplay_data();
    void canvasWithoutADisplay();
    void distanceText_data();
    void distanceText();
    void distanceTextReadsBack();
    void slotEntered_data();
    void slotEntered();
    void ySums_data();
    void ySums();
    void pointerTakesP_data();
    void pointerTakesP();
    void columnLeft_data();
    void columnLeft();
    void axisTexts_data();
    void axisTexts();
    void clientSizeFromOuterTwips_data();
    void clientSizeFromOuterTwips();
};

void TestUiRules::generalNumber_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("single");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero") << 0.0 << false << " 0";
    QTest::newRow("minus zero") << -0.0 << false << " 0";
    QTest::newRow("one half") << 0.5 << false << " .5";
    QTest::newRow("one and a half") << 1.5 << false << " 1.5";
    QTest::newRow("ten") << 10.0 << false << " 10";
    QTest::newRow("minus one half") << -0.5 << false << "-.5";
    QTest::newRow("minus three") << -3.0 << false << "-3";
    QTest::newRow("0.1 + 0.2 as double") << 0.1 + 0.2 << false << " .3";
    QTest::newRow("1/3 as double") << 1.0 / 3 << false << " .333333333333333";
    QTest::newRow("1/3 as float") << double(1.0f / 3) << true << " .3333333";
    QTest::newRow("0.1 as float") << double(0.1f) << true << " .1";
    QTest::newRow("12.5 as float") << 12.5 << true << " 12.5";
    // Exponent forms, as printf's %g writes them.
    QTest::newRow("1E+20") << 1e20 << false << " 1E+20";
    QTest::newRow("1E+15") << 1e15 << false << " 1E+15";
    QTest::newRow("small with two-digit exponent") << 1.5e-7 << false << " 1.5E-07";
    QTest::newRow("just above the exponent form") << 0.0001 << false << " .0001";
    QTest::newRow("just below it") << 0.00001 << false << " 1E-05";
    QTest::newRow("18 digits cut to 15") << 123456789012345678.0 << false << " 1.23456789012346E+17";
    QTest::newRow("smallest subnormal") << 5e-324 << false << " 4.94065645841247E-324";
    QTest::newRow("float past 2^24") << double(16777217.0f) << true << " 1.677722E+07";
}

void TestUiRules::generalNumber()
{
    QFETCH(double, value);
    QFETCH(bool, single);
    QFETCH(QString, text);
    QCOMPARE(single ? ui::generalNumber(float(value)) : ui::generalNumber(value), text);
}

void TestUiRules::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");

    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("read-out at x=0") << " 0.0" << 0.0;
    QTest::newRow("read-out at x=10") << " 10.0" << 10.0;
    QTest::newRow("leading blanks and tab") << "  \t 7.5" << 7.5;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("no number") << "abc" << 0.0;
    QTest::newRow("sign only") << "-" << 0.0;
    QTest::newRow("negative") << "-3" << -3.0;
    QTest::newRow("exponent") << "1e3" << 1000.0;
    QTest::newRow("exponent without digits") << "2e" << 2.0;
    QTest::newRow("trailing letters") << "12abc" << 12.0;
    QTest::newRow("second point ends it") << "1.2.3" << 1.2;
    QTest::newRow("no zero before the point") << ".5" << 0.5;
    QTest::newRow("too large") << "1e400" << inf;
    QTest::newRow("too small") << "1e-400" << 0.0;
    QTest::newRow("full-width digits") << QStringLiteral("１２") << 0.0;
    QTest::newRow("point before the unit") << "7.cm" << 7.0;
    QTest::newRow("D exponent") << "1D2" << 100.0;
    QTest::newRow("negative exponent") << "25e-1" << 2.5;
    QTest::newRow("many digits") << "123456789012345678901234567890" << 1.2345678901234568e29;
    QTest::newRow("too small by its zeros") << QString(QStringLiteral("0.") + QString(400, QLatin1Char('0')) + QStringLiteral("1")) << 0.0;
    QTest::newRow("too large by its digits") << QString(400, QLatin1Char('9')) << inf;
}

void TestUiRules::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(ui::leadingNumber(text), value);
}

void TestUiRules::paletteColor_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QColor>("colour");

    QTest::newRow("0 black") << 0 << QColor(0, 0, 0);
    QTest::newRow("2 green") << 2 << QColor(0, 128, 0);
    QTest::newRow("7 light grey") << 7 << QColor(192, 192, 192);
    QTest::newRow("9 bright blue") << 9 << QColor(0, 0, 255);
    QTest::newRow("14 yellow") << 14 << QColor(255, 255, 0);
    QTest::newRow("15 white") << 15 << QColor(255, 255, 255);
    QTest::newRow("-1 out of range") << -1 << QColor();
    QTest::newRow("16 out of range") << 16 << QColor();
}

void TestUiRules::paletteColor()
{
    QFETCH(int, index);
    QFETCH(QColor, colour);
    QCOMPARE(ui::paletteColor(index), colour);
}

void TestUiRules::colorFromBgr()
{
    // The erasing colour of the graph and table: blue in the high byte.
    QCOMPARE(ui::colorFromBgr(0x00C0FFFF), QColor(255, 255, 192));
    QCOMPARE(ui::colorFromBgr(0x00000080), QColor(128, 0, 0));
}

void TestUiRules::floodFillBorder_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QPoint>("seed");
    QTest::addColumn<bool>("painted");
    QTest::addColumn<QStringList>("after");

    QTest::newRow("diagonal gap is not crossed")
        << QStringList{"#....", ".#...", "..#..", "...#.", "....#"} << QPoint(4, 0) << true
        << QStringList{"#FFFF", ".#FFF", "..#FF", "...#F", "....#"};
    QTest::newRow("other colours are painted over")
        << QStringList{"#######", "#..k..#", "#.kkk.#", "#..n..#", "#######"} << QPoint(1, 1)
        << true << QStringList{"#######", "#FFFFF#", "#FFFFF#", "#FFFFF#", "#######"};
    QTest::newRow("pockets above and below")
        << QStringList{"#######", "#.#.#.#", "#.#.#.#", "#.....#", "#.#.#.#", "#######"}
        << QPoint(3, 1) << true
        << QStringList{"#######", "#F#F#F#", "#F#F#F#", "#FFFFF#", "#F#F#F#", "#######"};
    QTest::newRow("fill-colour wall is crossed")
        << QStringList{"...F...", "...F...", "...F..."} << QPoint(0, 1) << true
        << QStringList{"FFFFFFF", "FFFFFFF", "FFFFFFF"};
    QTest::newRow("stops at the image edge, enclosed part untouched")
        << QStringList{".....", ".###.", ".#.#.", ".###."} << QPoint(0, 0) << true
        << QStringList{"FFFFF", "F###F", "F#.#F", "F###F"};
    QTest::newRow("seed on the boundary")
        << QStringList{"...", ".#.", "..."} << QPoint(1, 1) << false
        << QStringList{"...", ".#.", "..."};
    QTest::newRow("seed outside the image")
        << QStringList{"...", "..."} << QPoint(3, 0) << false << QStringList{"...", "..."};
}

void TestUiRules::floodFillBorder()
{
    QFETCH(QStringList, before);
    QFETCH(QPoint, seed);
    QFETCH(bool, painted);
    QFETCH(QStringList, after);

    QImage image = imageFromMap(before);
    QCOMPARE(ui::floodFillBorder(image, seed, border, fill), painted);
    const QImage expected = imageFromMap(after);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            QVERIFY2(image.pixel(x, y) == expected.pixel(x, y),
                     qPrintable(QStringLiteral("pixel (%1,%2) expected '%3'").arg(x).arg(y).arg(after[y][x])));
}

namespace {

// A second opinion on the fill: a plain breadth-first fill, one pixel at a
// time, of everything 4-connected to the seed that is not of the border
// colour. Returns the bounding box of what it painted (empty: nothing).
QRect plainFill(QImage &image, QPoint seed, QRgb border, QRgb fill)
{
    const QRgb stop = border & 0x00ffffff;
    auto closed = [&](QPoint p) { return (image.pixel(p) & 0x00ffffff) == stop; };
    if (!image.rect().contains(seed) || closed(seed))
        return {};
    QImage seen(image.size(), QImage::Format_Mono);
    seen.fill(0);
    std::deque<QPoint> queue{seed};
    seen.setPixel(seed, 1);
    QRect box;
    while (!queue.empty()) {
        const QPoint p = queue.front();
        queue.pop_front();
        image.setPixel(p, fill);
        box |= QRect(p, QSize(1, 1));
        for (const QPoint step : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            const QPoint q = p + step;
            if (image.rect().contains(q) && !seen.pixelIndex(q) && !closed(q)) {
                seen.setPixel(q, 1);
                queue.push_back(q);
            }
        }
    }
    return box;
}

} // namespace

namespace {

// Random pictures wide enough for the fill's long runs, with walls and
// pixels of `colours`, filled in `paint` from random seeds and compared
// with a plain breadth-first fill.
void compareWithPlainFill(quint32 seedOfRandom, int rounds, const std::array<QRgb, 4> &colours, QRgb paint)
{
    QRandomGenerator random(seedOfRandom);
    ui::FloodFiller filler; // reused, as the board reuses its own
    for (int round = 0; round < rounds; ++round) {
        const int w = int(random.bounded(1, 90)), h = int(random.bounded(1, 24));
        // Mostly open, with walls of varying density.
        const int wallPercent = int(random.bounded(0, 45));
        QImage picture(w, h, QImage::Format_RGB32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int roll = int(random.bounded(100));
                picture.setPixel(x, y, roll < wallPercent ? border : colours[std::size_t(roll % 4)]);
            }
        const QPoint seed(int(random.bounded(w)), int(random.bounded(h)));
        QImage expected = picture;
        const QRect box = plainFill(expected, seed, border, paint);
        const bool painted = filler.fill(picture, seed, border, paint);
        const QString where = QStringLiteral("round %1 (%2 x %3, seed %4,%5)")
                                  .arg(round).arg(w).arg(h).arg(seed.x()).arg(seed.y());
        QVERIFY2(painted == !box.isEmpty(), qPrintable(where));
        QVERIFY2(picture == expected, qPrintable(where + QStringLiteral(": pixels differ")));
        if (painted)
            QVERIFY2(filler.lastFilled() == box, qPrintable(where + QStringLiteral(": bounding box")));
    }
}

} // namespace

// Other colours and pixels already of the fill colour are crossed.
void TestUiRules::floodFillMatchesAPlainFill()
{
    compareWithPlainFill(20261209, 400, {open, border, other, fill}, fill);
}

void TestUiRules::floodFillInAnyColour_data()
{
    QTest::addColumn<QRgb>("paint");
    // Painted pixels that look like the border (the board fills its white
    // parts in its white pen's colour), like the background, or like
    // another colour of the picture: the fill tells them from pixels it
    // has still to reach all the same.
    QTest::newRow("the border colour") << border;
    QTest::newRow("the background colour") << open;
    QTest::newRow("another colour of the picture") << other;
    QTest::newRow("one step off the border colour") << nearBorder;
}

void TestUiRules::floodFillInAnyColour()
{
    QFETCH(QRgb, paint);
    compareWithPlainFill(20270114, 300, {open, other, nearBorder, paint}, paint);
}

void TestUiRules::pixelRuns_data()
{
    QTest::addColumn<int>("count");
    // Around the group sizes (8 and 16 pixels) and their multiples.
    for (int count : {0, 1, 2, 7, 8, 9, 15, 16, 17, 23, 24, 31, 32, 33, 47, 64, 65, 130})
        QTest::addRow("%d pixels", count) << count;
}

// The run loops write exactly their pixels and see every pixel's old value.
void TestUiRules::pixelRuns()
{
    QFETCH(int, count);
    constexpr QRgb guard = 0xff123456, value = 0xffc0c0c0;
    constexpr int margin = 4;
    std::vector<QRgb> buffer(std::size_t(count + 2 * margin), guard);
    QRgb *const run = buffer.data() + margin;
    auto guardsIntact = [&] {
        return std::all_of(buffer.begin(), buffer.begin() + margin, [&](QRgb p) { return p == guard; })
               && std::all_of(buffer.end() - margin, buffer.end(), [&](QRgb p) { return p == guard; });
    };

    ui::fillPixels(run, count, value);
    QVERIFY(std::all_of(run, run + count, [&](QRgb p) { return p == value; }));
    QVERIFY(guardsIntact());
    QVERIFY(!ui::fillPixelsChanged(run, count, value));
    for (int k = 0; k < count; ++k) {
        run[k] = guard;
        QVERIFY2(ui::fillPixelsChanged(run, count, value), qPrintable(QStringLiteral("pixel %1 changed").arg(k)));
        QCOMPARE(run[k], value);
    }
    QVERIFY(guardsIntact());
}

void TestUiRules::fillUntil_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("stops"); // where the border colour stands
    // Around the groups of 8 pixels the loop looks at: a stop first, last
    // and in the middle of a group, in the group after a whole one, in the
    // pixels past the last whole group, and none at all.
    for (int count : {0, 1, 7, 8, 9, 16, 23, 57, 64, 130}) {
        QTest::addRow("%d pixels, no stop", count) << count << QList<int>{};
        for (int at : {0, 1, 7, 8, 12, 15, 16, 56, 63, 64, 129})
            if (at < count)
                QTest::addRow("%d pixels, stop at %d", count, at) << count << QList<int>{at};
    }
    QTest::newRow("the first of two stops ends the run") << 64 << QList<int>{40, 20};
    QTest::newRow("stops side by side") << 32 << QList<int>{9, 10};
}

// The run ends at the first pixel of the border colour exactly: pixels one
// step off it, of the fill colour and of other colours are painted over,
// nothing past the run or outside the count is touched.
void TestUiRules::fillUntil()
{
    QFETCH(int, count);
    QFETCH(QList<int>, stops);
    constexpr QRgb stop = 0xffffffff, value = 0xffc0c0c0, guard = 0xff123456;
    const std::array<QRgb, 5> others{0xff008000, value, 0xfffeffff, 0xff000000, 0xffffff00};
    constexpr int margin = 4;
    std::vector<QRgb> buffer(std::size_t(count + 2 * margin), guard);
    QRgb *const run = buffer.data() + margin;
    for (int k = 0; k < count; ++k)
        run[k] = others[std::size_t(k) % others.size()];
    for (int at : stops)
        run[at] = stop;

    std::vector<QRgb> expected = buffer;
    int length = 0;
    for (QRgb *p = expected.data() + margin; length < count && p[length] != stop; ++length)
        p[length] = value;

    QCOMPARE(ui::fillUntil(run, count, stop, value), length);
    for (std::size_t i = 0; i < buffer.size(); ++i)
        QVERIFY2(buffer[i] == expected[i], qPrintable(QStringLiteral("pixel %1").arg(int(i) - margin)));
}

void TestUiRules::canvasRectangles_data()
{
    QTest::addColumn<QRect>("area"); // device pixels, may reach past the canvas
    QTest::addColumn<QString>("before");
    // Widths around the narrow bands written without a call per row (up
    // to 8 pixels) and the 8-pixel groups of wider rows; one row and many;
    // rectangles cut by each edge of the canvas, and wholly outside it.
    QList<QPair<QString, QRect>> areas;
    for (int width : {1, 2, 3, 4, 5, 6, 7, 8, 9, 17, 33})
        for (int rows : {1, 2, 5})
            areas.append({QStringLiteral("%1 x %2").arg(width).arg(rows), QRect(3, 2, width, rows)});
    areas.append({QStringLiteral("cut by the left edge"), QRect(-3, 1, 6, 4)});
    areas.append({QStringLiteral("cut by the right edge"), QRect(36, 1, 9, 4)});
    areas.append({QStringLiteral("cut by the top and bottom"), QRect(5, -2, 3, 20)});
    areas.append({QStringLiteral("the whole canvas and more"), QRect(-1, -1, 50, 20)});
    areas.append({QStringLiteral("left of the canvas"), QRect(-9, 2, 9, 3)});
    areas.append({QStringLiteral("below the canvas"), QRect(2, 12, 4, 3)});
    for (const auto &[name, area] : areas)
        for (const char *before : {"another colour", "its colour", "its colour, last pixel not",
                                   "its colour, second row's first pixel not", "its colour, a neighbour not"})
            QTest::addRow("%s, %s", qPrintable(name), before) << area << QString::fromLatin1(before);
}

// A rectangle of device pixels takes the colour exactly where it meets the
// canvas, and says whether any of those pixels had another colour before:
// checked against a plain pixel-by-pixel write.
void TestUiRules::canvasRectangles()
{
    QFETCH(QRect, area);
    QFETCH(QString, before);
    constexpr QRgb value = 0xffffffff, background = 0xff008000;
    QImage canvas(40, 12, QImage::Format_RGB32);
    const QRect inside = area & canvas.rect();
    canvas.fill(before == QLatin1String("another colour") ? background : value);
    const auto differing = [&](QPoint p) {
        if (canvas.rect().contains(p))
            canvas.setPixel(p, background);
    };
    if (before.endsWith(QLatin1String("last pixel not")))
        differing(inside.bottomRight());
    else if (before.endsWith(QLatin1String("second row's first pixel not")))
        differing(inside.topLeft() + QPoint(0, 1));
    else if (before.endsWith(QLatin1String("a neighbour not")))
        differing(inside.topRight() + QPoint(1, 0));

    QImage expected = canvas;
    bool expectChanged = false;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x) {
            expectChanged |= expected.pixel(x, y) != value;
            expected.setPixel(x, y, value);
        }

    const bool changed = ui::CanvasRows(canvas).fill(area.left(), area.right() + 1, area.top(), area.bottom() + 1, value);
    QCOMPARE(changed, expectChanged);
    QVERIFY(canvas == expected);
}

void TestUiRules::canvasWithoutADisplay_data()
{
    QTest::addColumn<qreal>("ratio");
    for (qreal ratio : {1.0, 1.5, 2.0})
        QTest::addRow("ratio %g", ratio) << ratio;
}

// A canvas is drawn on, filled and read back, and tells what changed, with
// no display at all (this suite runs without a GUI application).
void TestUiRules::canvasWithoutADisplay()
{
    QFETCH(qreal, ratio);
    const QColor back(Qt::white), pen(Qt::red), paint(Qt::blue);
    ui::Canvas canvas(QSize(40, 30), back, ratio);
    QRect told;
    bool cleared = false;
    canvas.onChanged([&](QRect area, bool wasCleared) {
        told |= area;
        cleared = wasCleared;
    });
    auto draw = [&](ui::Canvas &on) {
        on.setForeColor(pen);
        on.setDrawWidth(2);
        on.line(QPointF(5, 5), QPointF(30, 5));
        on.lineTo(QPointF(30, 25));
        on.lineTo(QPointF(5, 25));
        on.lineTo(QPointF(5, 5));
        on.line(QPointF(8, 22), QPointF(22, 12), Qt::black); // crossed by the fill
        on.setFillStyle(ui::Canvas::FillStyle::Solid);
        on.setFillColor(paint);
        return on.floodFillBorder(QPointF(20, 15), pen);
    };
    QVERIFY(draw(canvas));
    QCOMPARE(canvas.image().size(), QSize(qRound(40 * ratio), qRound(30 * ratio)));
    QCOMPARE(canvas.pixel(20, 15), paint);
    QCOMPARE(canvas.pixel(15, 17), paint);
    QCOMPARE(canvas.pixel(30, 15), pen);
    QCOMPARE(canvas.pixel(35, 15), back);
    QCOMPARE(canvas.currentPos(), QPointF(22, 12)); // the last line's end
    QCOMPARE(told, QRect(4, 4, 27, 22));
    QVERIFY(!cleared && !canvas.isBlank());

    // Taken to another ratio (recoloured first, as the contrast view does),
    // the picture is the one drawn at that ratio from the start.
    const qreal other = ratio == 1.5 ? 2.0 : 1.5;
    ui::Canvas there(canvas.size(), back, other);
    draw(there);
    for (ui::Canvas *c : {&canvas, &there})
        c->recolour({{paint, Qt::green}, {back, Qt::yellow}});
    QVERIFY(canvas.setRatio(other));
    QCOMPARE(canvas.image(), there.image());
    QCOMPARE(canvas.currentPos(), QPointF(22, 12));

    canvas.cls();
    QVERIFY(cleared && canvas.isBlank());
    QImage blank(canvas.image().size(), QImage::Format_RGB32);
    blank.fill(QColor(Qt::yellow));
    blank.setDevicePixelRatio(other);
    QCOMPARE(canvas.image(), blank);
}

void TestUiRules::distanceText_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<QString>("text");

    QTest::newRow("x=0") << 0.0 << " 0.0";
    QTest::newRow("x=0.5") << 0.5 << " 0.5";
    QTest::newRow("x=1") << 1.0 << " 1.0";
    QTest::newRow("x=2.5") << 2.5 << " 2.5";
    QTest::newRow("x=10") << 10.0 << " 10.0";
}

void TestUiRules::distanceText()
{
    QFETCH(double, x);
    QFETCH(QString, text);
    QCOMPARE(motion::distanceText(x), text);
}

void TestUiRules::distanceTextReadsBack()
{
    // The read-out carries x to the graph and the table: every position of P
    // must come back as the same number.
    for (double px = board::sideAbX; px >= motion::endPx; px -= motion::stepPx) {
        const double x = motion::distanceCm(px);
        QCOMPARE(ui::leadingNumber(motion::distanceText(x)), x);
    }
}

void TestUiRules::slotEntered_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<int>("slot");

    // The step ending at x covers x - 0.5 .. x; slot s spans 2s .. 2s + 2 cm.
    QTest::newRow("x=0.5") << 0.5 << 0;
    QTest::newRow("x=2") << 2.0 << 0;
    QTest::newRow("x=2.5") << 2.5 << 1;
    QTest::newRow("x=4") << 4.0 << 1;
    QTest::newRow("x=4.5") << 4.5 << 2;
    QTest::newRow("x=8.5") << 8.5 << 4;
    QTest::newRow("x=10") << 10.0 << 4;
}

void TestUiRules::slotEntered()
{
    QFETCH(double, x);
    QFETCH(int, slot);
    QCOMPARE(motion::slotEntered(x), slot);
}

void TestUiRules::ySums_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<bool>("forward");
    QTest::addColumn<double>("change"); // the graph's step; strip k holds k/8 cm²
    QTest::addColumn<float>("column");  // y in the table's column at x (whole x)

    QTest::newRow("x=0 forward") << 0.0 << true << 0.0 << 0.0f;
    QTest::newRow("x=0.5 forward") << 0.5 << true << 0.125 << 0.0f;
    QTest::newRow("back to x=0") << 0.0 << false << -0.125 << 0.0f;
    QTest::newRow("x=3 forward") << 3.0 << true << 0.75 << 2.625f;
    QTest::newRow("back to x=9.5") << 9.5 << false << -2.5 << 0.0f;
    QTest::newRow("x=10 forward") << 10.0 << true << 2.5 << 26.25f;
    QTest::newRow("back beyond the table") << 10.5 << false << 0.0 << 0.0f;
}

void TestUiRules::ySums()
{
    QFETCH(double, x);
    QFETCH(bool, forward);
    QFETCH(double, change);
    QFETCH(float, column);
    motion::StripTable strips{};
    for (std::size_t k = 1; k < strips.size(); ++k)
        strips[k] = float(k) / 8;
    QCOMPARE(motion::stepChange(strips, x, forward), change);
    if (x == std::floor(x) && forward)
        QCOMPARE(motion::areaAtCm(strips, int(x)), column);
}

// Where a pointer takes P: the press that takes it (P at px, the reach of
// a mouse or of a finger on a board shown at `css` CSS px a pixel), and
// the place it goes to for a board x, a graph x or a table x.
void TestUiRules::pointerTakesP_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<double>("px");
    QTest::addColumn<QPointF>("at");
    QTest::addColumn<bool>("finger");
    QTest::addColumn<double>("css");
    QTest::addColumn<double>("want"); // 1/0 for a press, P's place otherwise

    QTest::newRow("press on P's dot") << "takes" << 230.0 << QPointF(230, 300) << false << 1.0 << 1.0;
    QTest::newRow("mouse half a cm off") << "takes" << 230.0 << QPointF(240, 310) << false << 1.0 << 1.0;
    QTest::newRow("mouse 11 px off") << "takes" << 230.0 << QPointF(241, 300) << false << 1.0 << 0.0;
    QTest::newRow("finger 22 px off") << "takes" << 230.0 << QPointF(252, 278) << true << 1.0 << 1.0;
    QTest::newRow("finger 23 px off") << "takes" << 230.0 << QPointF(253, 300) << true << 1.0 << 0.0;
    QTest::newRow("finger, board at half size") << "takes" << 230.0 << QPointF(270, 300) << true << 0.5 << 1.0;
    QTest::newRow("P at B, inside the envelope") << "takes" << 300.0 << QPointF(305, 295) << false << 1.0 << 0.0;
    QTest::newRow("P at B, on the base line") << "takes" << 300.0 << QPointF(305, 300) << false << 1.0 << 1.0;
    QTest::newRow("P at B, left of AB") << "takes" << 300.0 << QPointF(295, 295) << false << 1.0 << 1.0;
    QTest::newRow("board x to the nearest step") << "board" << 0.0 << QPointF(234.9, 0) << false << 1.0 << 230.0;
    QTest::newRow("board x a half step: even") << "board" << 0.0 << QPointF(225, 0) << false << 1.0 << 220.0;
    QTest::newRow("board x past the end") << "board" << 0.0 << QPointF(-500, 0) << false << 1.0 << 100.0;
    QTest::newRow("board x right of B") << "board" << 0.0 << QPointF(590, 0) << false << 1.0 << 300.0;
    QTest::newRow("graph x 4.5 cm") << "graph" << 0.0 << QPointF(graph::gx(4.5) + 4, 0) << false << 1.0 << 210.0;
    QTest::newRow("graph left of its axis") << "graph" << 0.0 << QPointF(3, 0) << false << 1.0 << 300.0;
    QTest::newRow("graph right of 10 cm") << "graph" << 0.0 << QPointF(390, 0) << false << 1.0 << 100.0;
    QTest::newRow("table column 0") << "table" << 0.0 << QPointF(40, 0) << false << 1.0 << 300.0;
    QTest::newRow("table column 6") << "table" << 0.0 << QPointF(table::columnLeft(6, 6, false) + 20, 0) << false << 1.0 << 180.0;
    QTest::newRow("table column 10") << "table" << 0.0 << QPointF(520, 0) << false << 1.0 << 100.0;
    QTest::newRow("table headings") << "table" << 0.0 << QPointF(20, 0) << false << 1.0 << -1.0;
    QTest::newRow("table past column 10") << "table" << 0.0 << QPointF(560, 0) << false << 1.0 << -1.0;
}

void TestUiRules::pointerTakesP()
{
    QFETCH(QString, rule);
    QFETCH(double, px);
    QFETCH(QPointF, at);
    QFETCH(bool, finger);
    QFETCH(double, css);
    QFETCH(double, want);
    if (rule == QLatin1String("takes")) {
        QCOMPARE(motion::takesP(at, px, motion::pReach(finger, css)), want != 0);
    } else if (rule == QLatin1String("board")) {
        QCOMPARE(motion::nearestStopPx(at.x()), want);
    } else if (rule == QLatin1String("graph")) {
        QCOMPARE(motion::stopPxForCm(graph::xAt(at.x())), want);
    } else {
        const auto column = table::columnAt(at.x());
        QCOMPARE(column ? motion::stopPxForCm(*column) : -1.0, want);
    }
}

void TestUiRules::columnLeft_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("yRow");
    QTest::addColumn<int>("left");

    QTest::newRow("x=0 upper") << 0 << 0.0 << false << 60;
    QTest::newRow("x=0 lower, any y") << 0 << 12.5 << true << 60;
    QTest::newRow("x=1 upper") << 1 << 1.0 << false << 95;
    QTest::newRow("x=3 lower y=2.5") << 3 << 2.5 << true << 177;
    QTest::newRow("x=3 lower y=12.5") << 3 << 12.5 << true << 172;
    QTest::newRow("x=5 lower y=10") << 5 << 10.0 << true << 270;
    QTest::newRow("x=10 upper") << 10 << 10.0 << false << 495;
    QTest::newRow("x=10 lower y=60") << 10 << 60.0 << true << 495;
}

void TestUiRules::columnLeft()
{
    QFETCH(int, x);
    QFETCH(double, value);
    QFETCH(bool, yRow);
    QFETCH(int, left);
    QCOMPARE(table::columnLeft(x, value, yRow), left);
}

void TestUiRules::axisTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPoint>("at");

    QTest::newRow("x label 1") << " 1" << QPoint(59, 485);
    QTest::newRow("x label 9") << " 9" << QPoint(299, 485);
    QTest::newRow("x label 10, 3 px left") << " 10" << QPoint(326, 485);
    QTest::newRow("x unit") << "(cm)" << QPoint(362, 485);
    QTest::newRow("origin") << "0" << QPoint(25, 485);
    QTest::newRow("y label 4, 5 px right") << " 4" << QPoint(20, 445);
    QTest::newRow("y label 8, 5 px right") << " 8" << QPoint(20, 415);
    QTest::newRow("y label 12") << " 12" << QPoint(15, 385);
    QTest::newRow("y label 60") << " 60" << QPoint(15, 25);
    QTest::newRow("y unit") << "(cm  )" << QPoint(2, 8);
    QTest::newRow("exponent of cm²") << "2" << QPoint(22, 5);
}

void TestUiRules::axisTexts()
{
    QFETCH(QString, text);
    QFETCH(QPoint, at);
    constexpr int textCount = 10 + 2 + 15 + 2; // x labels, x unit and 0, y labels, y unit and exponent
    const auto texts = graph::axisTexts();
    QCOMPARE(int(texts.size()), textCount);
    const auto matches = std::count_if(texts.begin(), texts.end(), [&](const graph::AxisText &t) {
        return t.text == text && t.at == at;
    });
    QCOMPARE(int(matches), 1);
}

void TestUiRules::clientSizeFromOuterTwips_data()
{
    QTest::addColumn<QSize>("outer");
    QTest::addColumn<QSize>("client");

    QTest::newRow("compact") << QSize(app::compactWidthTwips, app::compactHeightTwips) << QSize(631, 549);
    QTest::newRow("with graph") << QSize(app::graphWidthTwips, app::compactHeightTwips) << QSize(1031, 549);
    QTest::newRow("with table") << QSize(app::compactWidthTwips, app::tableHeightTwips) << QSize(631, 682);
    QTest::newRow("with graph and table") << QSize(app::graphWidthTwips, app::tableHeightTwips) << QSize(1031, 682);
}

void TestUiRules::clientSizeFromOuterTwips()
{
    QFETCH(QSize, outer);
    QFETCH(QSize, client);
    QCOMPARE(app::clientSizeFromOuterTwips(outer.width(), outer.height()), client);
}

QTEST_GUILESS_MAIN(TestUiRules)
#include "tst_ui_rules.moc"
