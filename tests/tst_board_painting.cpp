// The board's picture: side AB, the 1-cm grid and every piece shaded white
// where it has come out of the envelope (left of AB) and grey where it is
// still inside, and how the board's controls stack over that picture.

#include "TestSupport.h"

#include "board/Geometry.h"

#include <QCheckBox>
#include <QTest>

#include <array>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using namespace testsupport;

const QRgb showThrough = qRgb(255, 0, 255); // painted on the canvas only by the stacking test

constexpr int abX = board::sideAbX;
constexpr int baseY = board::baseY;
// Pixels this far from an outline or from AB are "well inside" or "well
// outside": outlines and AB are 2 px wide, the grid 1 px.
constexpr int margin = 3;
// Vertical distance from the triangle's slanted side that is clear of its
// 2-px stroke (the stroke is 2 px across, about 3 px measured vertically).
constexpr int slantMargin = 5;

int pieceHeight(int code) { return code == board::Square2x2 ? 40 : code == board::Rect2x4 ? 80 : 120; }
int pieceWidth(int code) { return code == board::TriangleLeft ? 120 : board::slotWidth; }

// Slot codes 0..4, left to right.
using Slots = board::Slots;

struct Piece {
    int code;
    int left; // board x of the piece's left side
};

enum class Zone { Inside, Outside, Edge };

Zone zoneOf(const Piece &p, int x, int y)
{
    const int right = p.left + pieceWidth(p.code);
    const int top = baseY - pieceHeight(p.code);
    if (x < p.left - margin || x > right + margin || y < top - margin || y > baseY + margin)
        return Zone::Outside;
    if (p.code != board::TriangleLeft)
        return x >= p.left + margin && x <= right - margin && y >= top + margin && y <= baseY - margin
                   ? Zone::Inside
                   : Zone::Edge;
    // The slanted side rises 1 px per px from (left, base) to (right, top).
    const int slant = baseY - (x - p.left);
    if (y < slant - slantMargin)
        return Zone::Outside;
    return x <= right - margin && y <= baseY - margin && y >= slant + slantMargin ? Zone::Inside
                                                                                  : Zone::Edge;
}

// Checks the whole board against the figure: well inside a piece the shading
// is white left of AB and grey right of it; well outside every piece there is
// no shading; white never lies right of AB and grey never left of it.
QString figureFault(const QImage &canvas, const std::vector<Piece> &pieces)
{
    for (int y = 0; y < canvas.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(canvas.constScanLine(y));
        for (int x = 0; x < canvas.width(); ++x) {
            const QRgb c = line[x] | 0xff000000u;
            const auto at = [x, y] { return QStringLiteral(" at (%1,%2)").arg(x).arg(y); };
            if (c == white && x > abX)
                return QStringLiteral("white right of AB") + at();
            if (c == grey && x < abX - 1)
                return QStringLiteral("grey left of AB") + at();
            bool outsideAll = true;
            for (const Piece &p : pieces) {
                const Zone zone = zoneOf(p, x, y);
                outsideAll = outsideAll && zone == Zone::Outside;
                if (zone == Zone::Inside && std::abs(x - abX) > margin) {
                    const QRgb expected = x < abX ? white : grey;
                    if (c != expected)
                        return QStringLiteral("%1 inside the piece expected")
                                   .arg(expected == white ? "white" : "grey") + at();
                }
            }
            if (outsideAll && (c == white || c == grey))
                return QStringLiteral("shading outside every piece") + at();
        }
    }
    return {};
}

int countColour(const QImage &image, QRgb colour, QRect area = {})
{
    const QRect r = area.isNull() ? image.rect() : area & image.rect();
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += (image.pixel(x, y) | 0xff000000u) == colour;
    return n;
}

// Pixels of a white caption: the controls' text may be smoothed, so its
// glyphs count as near-white pixels.
int countWhitish(const QImage &image, QRect area)
{
    constexpr int lightLevel = 200;
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb c = image.pixel(x, y);
            n += qRed(c) >= lightLevel && qGreen(c) >= lightLevel && qBlue(c) >= lightLevel;
        }
    return n;
}

// The contrast ratio of two colours by WCAG 2.x relative luminance, 1 to 21.
double contrastRatio(QRgb a, QRgb b)
{
    auto luminance = [](QRgb c) {
        auto linear = [](int v) { return v <= 10 ? v / 255.0 / 12.92 : std::pow((v / 255.0 + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) + 0.0722 * linear(qBlue(c));
    };
    const auto [dark, light] = std::minmax({luminance(a), luminance(b)}); // values, not references to temporaries
    return (light + 0.05) / (dark + 0.05);
}

} // namespace

class TestBoardPainting : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void shadingSplitsAtAB_data();
    void shadingSplitsAtAB();
    void emptyBoardShowsOnlyAB_data();
    void emptyBoardShowsOnlyAB();
    void gridAtItsPixels();
    void gridRowsDoNotOpenSideAB();
    void thirdsOfTriangleDrawNothing_data();
    void thirdsOfTriangleDrawNothing();
    void triangleDrawnFromItsFirstThirdAlone();
    void drawGridTwiceChangesNothing();
    void neighbouringPiecesKeepTheirFills_data();
    void neighbouringPiecesKeepTheirFills();
    void controlsStackOverCanvas();
    void contrastViewPairs_data();
    void contrastViewPairs();

private:
    void putFigure(const Slots &figure, qint16 pos, bool grid);
    std::unique_ptr<Form1> form;
};

void TestBoardPainting::initTestCase()
{
    testsupport::setUpTestApplication();
    form = std::make_unique<Form1>();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get(), testsupport::patienceMs));
}

void TestBoardPainting::init()
{
    form->controls().Check1->setChecked(false);
    form->setContrastView(false);
    form->Command1_Click();
    // A piece is only ever on the board after a drop, which makes the
    // foreground (outline and fill boundary) yellow.
    form->controls().kokuban->setForeColor(QColor(yellow));
}

void TestBoardPainting::putFigure(const Slots &figure, qint16 pos, bool grid)
{
    form->controls().Check1->setChecked(grid);
    SceneSetUp::showFigure(*form, figure, pos);
}

void TestBoardPainting::shadingSplitsAtAB_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("pos");
    QTest::addColumn<bool>("grid");

    // Every left edge a piece takes in use: P's offset runs 100..300 in steps
    // of 10 and slot s adds 40 s, so rectangles reach 460 (slot 4) and the
    // triangle, which needs three figure, 380 (slot 2).
    const char *names[] = {"", "square", "rect 2x4", "rect 2x6", "triangle"};
    for (int code = board::Square2x2; code <= board::TriangleLeft; ++code) {
        const int lastSlot = code == board::TriangleLeft ? 2 : 4;
        for (int left = 100; left <= board::slotLeft(lastSlot); left += 10) {
            const int slot = std::max(0, (left - abX + board::slotWidth - 1) / board::slotWidth);
            for (bool grid : {false, true}) {
                QTest::addRow("%s at %d%s", names[code], left, grid ? ", grid" : "")
                    << code << slot << left - board::slotWidth * slot << grid;
            }
        }
    }
}

void TestBoardPainting::shadingSplitsAtAB()
{
    QFETCH(int, code);
    QFETCH(int, slot);
    QFETCH(int, pos);
    QFETCH(bool, grid);

    Slots figure{};
    figure[slot] = code;
    if (code == board::TriangleLeft) {
        figure[slot + 1] = board::TriangleMiddle;
        figure[slot + 2] = board::TriangleRight;
    }
    putFigure(figure, qint16(pos), grid);

    const int left = pos + board::slotWidth * slot;
    const QImage &canvas = form->controls().kokuban->canvas();
    const QString fault = figureFault(canvas, {{code, left}});
    QVERIFY2(fault.isEmpty(), qPrintable(fault));

    const int whites = countColour(canvas, white);
    const int greys = countColour(canvas, grey);
    if (left + pieceWidth(code) <= abX) {
        QCOMPARE(greys, 0); // wholly out: white only
        QVERIFY(whites > 0);
    } else if (left >= abX) {
        QCOMPARE(whites, 0); // wholly inside: grey only
        QVERIFY(greys > 0);
    } else {
        QVERIFY(whites > 0 && greys > 0);
    }
}

void TestBoardPainting::emptyBoardShowsOnlyAB_data()
{
    QTest::addColumn<bool>("grid");
    QTest::addColumn<int>("pos");
    QTest::newRow("P at B") << false << 300;
    QTest::newRow("x=5") << false << 200;
    QTest::newRow("P at B, grid") << true << 300;
}

void TestBoardPainting::emptyBoardShowsOnlyAB()
{
    QFETCH(bool, grid);
    QFETCH(int, pos);
    putFigure({}, qint16(pos), grid);

    const QImage &canvas = form->controls().kokuban->canvas();
    const QRect abBand(abX - margin, board::envelopeTop - margin, 2 * margin + 1,
                       baseY - board::envelopeTop + 2 * margin + 1);
    const QRect gridArea(20, board::envelopeTop, 600 - 20 + 1, baseY - board::envelopeTop + 1);
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const QRgb c = canvas.pixel(x, y) | 0xff000000u;
            const bool allowed = c == boardGreen || (c == yellow && abBand.contains(x, y)) ||
                                 (grid && c == black && gridArea.contains(x, y));
            QVERIFY2(allowed, qPrintable(QStringLiteral("unexpected colour at (%1,%2)").arg(x).arg(y)));
        }
    }
    QCOMPARE(canvas.pixel(abX, 240) | 0xff000000u, yellow);
}

void TestBoardPainting::gridAtItsPixels()
{
    putFigure({}, 300, true);
    const ui::Surface &k = *form->controls().kokuban;
    QCOMPARE(k.drawWidth(), 2); // outlines drawn after the grid stay 2 px wide

    constexpr int gridLeft = 20, gridRight = 580, cm = board::pixelsPerCm;
    for (int y = board::envelopeTop; y <= baseY; y += cm) {
        QCOMPARE(k.pixel(gridLeft + 10, y), QColor(black));
        QCOMPARE(k.pixel(gridRight - 10, y), QColor(black));
        QCOMPARE(k.pixel(gridRight + 5, y), QColor(boardGreen)); // rows stop at 580
    }
    for (int x = gridLeft; x <= gridRight; x += cm) {
        if (x == abX)
            continue; // side AB is drawn over this column
        QCOMPARE(k.pixel(x, board::envelopeTop + 10), QColor(black));
        QCOMPARE(k.pixel(x, board::envelopeTop - 3), QColor(boardGreen)); // only within ABCD's band
        QCOMPARE(k.pixel(x, baseY + 3), QColor(boardGreen));
    }
    // The columns x = 600 and 620 fall beyond the board's drawing area: the
    // visible grid ends at x = 580.
    for (int x = gridRight + 1; x < k.canvas().width(); ++x)
        QVERIFY2(k.pixel(x, board::envelopeTop + 10) != QColor(black),
                 qPrintable(QStringLiteral("grid column at x=%1").arg(x)));
}

void TestBoardPainting::gridRowsDoNotOpenSideAB()
{
    // The grid's rows cut across AB; were AB not drawn again after the grid,
    // the grey fill of a straddling piece would leak through those cuts into
    // the white part (shadingSplitsAtAB's grid rows would fail).
    ui::Surface &k = *form->controls().kokuban;
    k.cls();
    k.line(QPointF(abX, board::envelopeTop), QPointF(abX, baseY));
    form->board().DrawGrid();
    QCOMPARE(k.pixel(abX, 280), QColor(black));

    putFigure({}, 300, true);
    for (int y = board::envelopeTop + 1; y < baseY; ++y)
        QVERIFY2(k.pixel(abX, y) == QColor(yellow),
                 qPrintable(QStringLiteral("side AB open at y=%1").arg(y)));
}

void TestBoardPainting::thirdsOfTriangleDrawNothing_data()
{
    QTest::addColumn<Slots>("figure");
    QTest::newRow("5 alone") << Slots{5, 0, 0, 0, 0};
    QTest::newRow("6 alone") << Slots{0, 6, 0, 0, 0};
    QTest::newRow("5 and 6 without 4") << Slots{0, 0, 0, 5, 6};
}

void TestBoardPainting::thirdsOfTriangleDrawNothing()
{
    QFETCH(Slots, figure);
    putFigure({}, 250, false);
    const QImage empty = form->controls().kokuban->canvas();
    putFigure(figure, 250, false);
    QCOMPARE(form->controls().kokuban->canvas(), empty);
}

void TestBoardPainting::triangleDrawnFromItsFirstThirdAlone()
{
    putFigure({0, 0, 4, 0, 0}, 300, false);
    const QString fault = figureFault(form->controls().kokuban->canvas(), {{board::TriangleLeft, board::slotLeft(2)}});
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
}

void TestBoardPainting::drawGridTwiceChangesNothing()
{
    putFigure({1, 3, 4, 5, 6}, 250, true);
    const QImage shaded = form->controls().kokuban->canvas();
    form->board().DrawGrid(); // over the pieces: the grid shows through them now
    const QImage once = form->controls().kokuban->canvas();
    QVERIFY(once != shaded);
    QCOMPARE(once.pixel(280, 240) | 0xff000000u, black); // row y=240 inside the 2x6 piece
    form->board().DrawGrid();
    QCOMPARE(form->controls().kokuban->canvas(), once);
}

void TestBoardPainting::neighbouringPiecesKeepTheirFills_data()
{
    QTest::addColumn<Slots>("figure");
    QTest::addColumn<int>("pos");
    QTest::addColumn<bool>("grid");

    QTest::newRow("tall then square, inside") << Slots{3, 1, 0, 0, 0} << 300 << false;
    QTest::newRow("square then straddling tall") << Slots{1, 3, 0, 0, 0} << 240 << true;
    QTest::newRow("four rectangles, x=4") << Slots{1, 2, 3, 1, 0} << 220 << true;
    QTest::newRow("triangle then square and 2x4") << Slots{4, 5, 6, 1, 2} << 150 << false;
    QTest::newRow("triangle then square and 2x4, grid") << Slots{4, 5, 6, 1, 2} << 150 << true;
}

void TestBoardPainting::neighbouringPiecesKeepTheirFills()
{
    QFETCH(Slots, figure);
    QFETCH(int, pos);
    QFETCH(bool, grid);
    putFigure(figure, qint16(pos), grid);

    std::vector<Piece> pieces;
    for (int i = 0; i < board::slotCount; ++i)
        if (figure[i] >= board::Square2x2 && figure[i] <= board::TriangleLeft)
            pieces.push_back({figure[i], pos + board::slotWidth * i});
    const QString fault = figureFault(form->controls().kokuban->canvas(), pieces);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
}

void TestBoardPainting::controlsStackOverCanvas()
{
    // Paint the whole canvas in a colour used nowhere else, then look at the
    // rendered board: wherever that colour appears, the canvas shows through.
    ui::Surface &k = *form->controls().kokuban;
    k.cls();
    k.setFillStyle(ui::Surface::FillStyle::Solid);
    k.setFillColor(QColor(showThrough));
    QVERIFY(k.floodFillBorder(QPointF(0, 0), QColor(1, 2, 3)));
    const QImage shown = k.grab().toImage();

    // Transparent "１０cm": the canvas around its white glyphs.
    const QRect tenCm = form->controls().Label4[4]->geometry();
    QVERIFY(countColour(shown, showThrough, tenCm) > 0);
    QVERIFY(countWhitish(shown, tenCm) > 0);

    // Opaque "点Ｐが動いた距離χ": its own green box, no canvas.
    const QRect label1 = form->controls().Label1->geometry();
    QCOMPARE(countColour(shown, showThrough, label1), 0);
    QVERIFY(countColour(shown, boardGreen, label1) > 0);
    QVERIFY(countWhitish(shown, label1) > 0);

    // The tray band hides the canvas; the transparent "2cm" over it shows the band.
    QCOMPARE(shown.pixel(100, 70) | 0xff000000u, trayGreen);
    QCOMPARE(shown.pixel(100, 130) | 0xff000000u, trayGreen);
    QCOMPARE(shown.pixel(100, 145) | 0xff000000u, showThrough);
    const QRect label9 = form->controls().Label9[0]->geometry();
    QCOMPARE(countColour(shown, showThrough, label9), 0);
    QVERIFY(countColour(shown, trayGreen, label9) > 0);
    QVERIFY(countWhitish(shown, label9) > 0);

    // The yellow templates lie over the band.
    const Form1Controls &c = form->controls();
    for (ui::LineControl *line : {c.Line6[0], c.Line7[0], c.Line9[1], c.Line8[2]}) {
        const QPoint mid = line->line().center();
        QVERIFY2(countColour(shown, yellow, QRect(mid - QPoint(1, 1), QSize(3, 3))) > 0,
                 qPrintable(QStringLiteral("no template line at (%1,%2)").arg(mid.x()).arg(mid.y())));
    }
}

void TestBoardPainting::contrastViewPairs_data()
{
    QTest::addColumn<bool>("grid");
    QTest::addColumn<int>("steps"); // P out by 1.5 or 2.5 cm, clear of the flap's line at x = 280
    QTest::newRow("x=1.5") << false << 3;
    QTest::newRow("x=2.5, grid") << true << 5;
}

// In the contrast view each pair of colours that meet on the board and
// carry meaning stands at least 3:1 apart, as shown; back in the design's
// view the board is as it was, pixel for pixel.
void TestBoardPainting::contrastViewPairs()
{
    QFETCH(bool, grid); QFETCH(int, steps);
    const Form1Controls &c = form->controls();
    c.Check1->setChecked(grid);
    QVERIFY(form->buildFigure(Slots{3, 3, 0, 0, 0}));
    for (int i = 0; i < steps; ++i)
        form->susumu_Click();
    const QImage design = c.kokuban->grab().toImage();
    form->setContrastView(true);
    const QImage shown = c.kokuban->grab().toImage();

    const int px = int(form->scene().Px); // the first piece's left side
    const QRgb board = shown.pixel(px - 4, 250), outline = shown.pixel(px, 250);
    const QRgb outside = shown.pixel(px + 5, 250), inside = shown.pixel(board::sideAbX + 15, 250);
    const QRgb dot = shown.pixel(c.Shape1->geometry().center()), barMiddle = shown.pixel(c.Line5[4]->line().center());
    const struct { const char *what; QRgb a, b; } pairs[] = {
        {"P's dot, board", dot, board},       {"P's dot, outside", dot, outside},
        {"bar BP, board", barMiddle, board},  {"bar BP, outside", barMiddle, outside},
        {"outside, inside", outside, inside}, {"inside, board", inside, board},
        {"outline, board", outline, board},   {"outline, inside", outline, inside},
    };
    for (const auto &pair : pairs)
        QVERIFY2(contrastRatio(pair.a, pair.b) >= 3, qPrintable(QStringLiteral("%1: %2 against %3").arg(pair.what,
                 QColor(pair.a).name(), QColor(pair.b).name())));
    form->setContrastView(false);
    QCOMPARE(c.kokuban->grab().toImage(), design);
}

QTEST_MAIN(TestBoardPainting)
#include "tst_board_painting.moc"
