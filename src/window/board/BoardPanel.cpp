// The board panel: its surface and windowless controls, the painting of
// side AB, the grid and the shaded pieces, the templates, P's marks and the
// frame around a chosen piece. Positions are board pixels.
#include "BoardPanel.h"

#include "app/DesignFacts.h"
#include "board/Geometry.h"
#include "ui/Fonts.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace board {

namespace {

using app::placeOf;

constexpr int outlineWidth = 2;
constexpr int gridWidth = 1;
constexpr int gridLeft = 20;
constexpr int gridRight = 580;
constexpr int gridRows = 7;     // y = 180, 200, ... 300
constexpr int gridColumns = 31; // x = 20, 40, ... 620; the board shows them up to x = 580

// Seeds lie 5 px inside the piece's left (white) or right (grey) side.
constexpr int seedInset = 5;
constexpr int squareSeedY = 298;    // just above the base
constexpr int tallSeedY = 268;      // rectangles 4 and 6 cm high, and the triangle
constexpr int triangleTipSeedY = 298; // the triangle's low left tip
constexpr int triangleInsideSeed = 85; // grey seed of a triangle wholly inside

constexpr int envelopeLineWidth = 3;
constexpr int underlineWidth = 3;
constexpr int redBarWidth = 5;
constexpr int templateLineWidth = 2;
constexpr int trayBandWidth = 150; // covers board rows 0..139 around y = 64
constexpr int chosenFrameWidth = 3;
constexpr int chosenFrameGap = 3; // between the frame and what it frames

// "χcm" under the way P went: high once x reaches 3.5 cm, lower before,
// clear of the read-out.
constexpr int labelHighTop = 300;
constexpr int labelLowTop = 325;
constexpr double labelLowUntilPx = 230;

// A rectangle `height` px high standing in the frame at (X, Y): top, right,
// bottom, left, in that order.
void placeRectangle(const std::array<ui::LineControl *, 4> &lines, qint16 X, qint16 Y, int height)
{
    const int w = slotWidth;
    const int bottom = Y + pieceHeight;
    const int top = bottom - height;
    lines[0]->setLine(QLine(X, top, X + w, top));
    lines[1]->setLine(QLine(X + w, top, X + w, bottom));
    lines[2]->setLine(QLine(X + w, bottom, X, bottom));
    lines[3]->setLine(QLine(X, bottom, X, top));
}

// Outline of a rectangle 2 cm wide and `height` px high standing on the base
// line at x, as one path, then its shading in the look's colours.
void shadeRectangle(ui::Surface &board, const app::BoardLook &look, qint16 x, int height, int seedY)
{
    const int right = x + slotWidth;
    const int top = baseY - height;
    board.line(QPointF(x, baseY), QPointF(right, baseY));
    board.lineTo(QPointF(right, top));
    board.lineTo(QPointF(x, top));
    board.lineTo(QPointF(x, baseY));

    const bool anyOutside = x < sideAbX;    // some of it has come out left of AB
    const bool anyInside = right > sideAbX; // some of it is still right of AB
    if (anyOutside) {
        board.setFillColor(look.outside);
        board.floodFillBorder(QPointF(x + seedInset, seedY), board.foreColor());
    }
    if (anyInside) {
        board.setFillColor(look.inside);
        board.floodFillBorder(QPointF(right - seedInset, seedY), board.foreColor());
    }
}

} // namespace

BoardPanel::BoardPanel(QWidget *window, QRect place)
    : m_look(app::boardLook(false)), m_kokuban(*new ui::Surface(window, place, m_look.board))
{
    using namespace app;
    m_kokuban.setForeColor(white);
    m_kokuban.setCanvasFont(ui::designFont(14.25, true));

    // Windowless controls, nearest the viewer first: the frame around a
    // chosen piece above everything, hidden until a piece is chosen.
    BoardControls &c = m_controls;
    ui::ControlLayer &layer = m_kokuban.controls();
    m_chosenFrame = layer.add<ui::FrameControl>(chosenCyan, chosenFrameWidth);
    m_chosenFrame->setVisible(false);
    const QFont labelFont = ui::defaultFont();
    const std::array<QString, 8> label9Captions = {
        QStringLiteral("2cm"), QStringLiteral("2cm"), QStringLiteral("2cm"), QStringLiteral("4cm"),
        QStringLiteral("2cm"), QStringLiteral("6cm"), QStringLiteral("6cm"), QStringLiteral("6cm")};
    const std::array<QPoint, 8> label9Places = {QPoint(312, 112), QPoint(302, 96),
                                                QPoint(360, 112), QPoint(353, 72),
                                                QPoint(408, 112), QPoint(404, 48),
                                                QPoint(512, 112), QPoint(573, 56)};
    for (int i = 7; i >= 0; --i) {
        c.Label9[i] = layer.add<ui::LabelControl>(label9Captions[i], labelFont, white);
        c.Label9[i]->move(label9Places[i].x(), label9Places[i].y());
    }
    for (int i = 2; i >= 0; --i)
        c.Line8[i] = layer.add<ui::LineControl>(yellow, templateLineWidth);
    c.Shape1 = layer.add<ui::ShapeControl>(m_look.marker, placeOf("Shape1"));
    c.Line5[4] = layer.add<ui::LineControl>(m_look.marker, redBarWidth);
    for (int i = 3; i >= 0; --i)
        c.Line9[i] = layer.add<ui::LineControl>(yellow, templateLineWidth);
    for (int i = 3; i >= 0; --i)
        c.Line7[i] = layer.add<ui::LineControl>(yellow, templateLineWidth);
    for (int i = 3; i >= 0; --i)
        c.Line6[i] = layer.add<ui::LineControl>(yellow, templateLineWidth);
    c.Line1 = layer.add<ui::LineControl>(m_look.tray, trayBandWidth, QLine(0, 64, 600, 64));

    // The sides and the base line have squared ends, so the corners C and D,
    // where the 3-px lines meet, close; the flap's lines end flat.
    auto envelopeSide = [&] {
        return layer.add<ui::LineControl>(white, envelopeLineWidth, QLine(), Qt::SquareCap);
    };
    auto flapLine = [&] { return layer.add<ui::LineControl>(white, envelopeLineWidth); };
    auto cornerLabel = [&](const QString &caption, double points, QColor colour = white) {
        return layer.add<ui::LabelControl>(caption, ui::designFont(points), colour);
    };
    c.Line5[3] = envelopeSide();
    c.Label1 = layer.add<ui::LabelControl>(QStringLiteral("点Ｐが動いた距離χ"), ui::designFont(18),
                                           white, m_look.board);
    c.Label1->setBox(placeOf("Label1"));
    c.Line5[1] = envelopeSide();
    c.Label2 = layer.add<ui::LabelControl>(QStringLiteral("cm"), ui::designFont(15.75, true), white,
                                           m_look.board);
    c.Label2->setBox(placeOf("Label2"));
    c.Line4[1] = layer.add<ui::LineControl>(m_look.marker, underlineWidth, QLine(24, 392, 232, 392));
    c.Label4[3] = cornerLabel(QStringLiteral("Ｄ"), 24);
    c.Line5[2] = envelopeSide();
    c.Label4[8] = cornerLabel(QStringLiteral("Ｐ"), 24, m_look.pLabel);
    c.Label4[2] = cornerLabel(QStringLiteral("C"), 24);
    c.Label4[1] = cornerLabel(QStringLiteral("B"), 24);
    c.Label4[6] = cornerLabel(QStringLiteral("χcm"), 18, distancePink);
    c.Line5[0] = envelopeSide();
    c.Label4[5] = cornerLabel(QStringLiteral("６cm"), 18);
    c.Label4[4] = cornerLabel(QStringLiteral("１０cm"), 18);
    c.Label4[0] = cornerLabel(QStringLiteral("A"), 24);
    c.Line5[5] = flapLine();
    c.Line5[7] = flapLine();
    c.Line5[6] = flapLine();
}

// ---- The canvas ------------------------------------------------------------

void BoardPanel::RedrawBoard(qint16 pos, const Slots &figure, bool gridShown)
{
    m_kokuban.cls();
    const QPointF a(sideAbX, envelopeTop), b(sideAbX, baseY);
    m_kokuban.line(a, b);
    m_kokuban.setFillStyle(ui::Surface::FillStyle::Solid);
    if (gridShown) {
        DrawGrid();
        // The grid's 1-px rows cut side AB; drawn again, AB stays a closed
        // boundary between the white and the grey part of a piece.
        m_kokuban.line(a, b);
    }
    for (int i = 0; i < slotCount; ++i) {
        const auto x = qint16(pos + slotWidth * i);
        switch (figure[std::size_t(i)]) {
        case Square2x2: ShadeSquare2x2(x); break;
        case Rect2x4: ShadeRect2x4(x); break;
        case Rect2x6: ShadeRect2x6(x); break;
        case TriangleLeft: ShadeTriangle6x6(x); break;
        default: break; // empty, or the middle and right thirds of a triangle
        }
    }
    frameChosen(m_framed, figure, pos); // a chosen piece in the envelope moves with P
}

// ---- The contrast view ---------------------------------------------------------

void BoardPanel::setContrastView(bool on)
{
    if (on == m_contrast)
        return;
    m_contrast = on;
    const app::BoardLook before = std::exchange(m_look, app::boardLook(on));
    // The picture as it stands, at P's offset, with the grid where it lies:
    // each of its colours takes the other view's.
    std::vector<ui::Canvas::ColourChange> changes;
    for (auto colour : {&app::BoardLook::board, &app::BoardLook::outside, &app::BoardLook::inside,
                        &app::BoardLook::grid})
        if (before.*colour != m_look.*colour)
            changes.push_back({before.*colour, m_look.*colour});
    m_kokuban.recolour(changes);
    BoardControls &c = m_controls;
    c.Line1->setColour(m_look.tray);
    c.Shape1->setColour(m_look.marker);
    c.Line5[4]->setColour(m_look.marker);
    c.Line4[1]->setColour(m_look.marker);
    c.Label4[8]->setColours(m_look.pLabel);
    c.Label1->setColours(c.Label1->textColour(), m_look.board);
    c.Label2->setColours(c.Label2->textColour(), m_look.board);
}

void BoardPanel::DrawGrid()
{
    m_kokuban.setDrawWidth(gridWidth);
    for (int i = 0; i < gridRows; ++i) {
        const int y = envelopeTop + pixelsPerCm * i;
        m_kokuban.line(QPointF(gridLeft, y), QPointF(gridRight, y), m_look.grid);
    }
    for (int i = 0; i < gridColumns; ++i) {
        const int x = gridLeft + pixelsPerCm * i;
        // The design's board is framed, so its drawing area ends before
        // x = 600; this frameless canvas is a pixel wider and cuts the last
        // two columns itself.
        if (x > gridRight)
            break;
        m_kokuban.line(QPointF(x, envelopeTop), QPointF(x, baseY), m_look.grid);
    }
    m_kokuban.setDrawWidth(outlineWidth);
}

void BoardPanel::ShadeSquare2x2(qint16 x) { shadeRectangle(m_kokuban, m_look, x, 2 * pixelsPerCm, squareSeedY); }

void BoardPanel::ShadeRect2x4(qint16 x) { shadeRectangle(m_kokuban, m_look, x, 4 * pixelsPerCm, tallSeedY); }

void BoardPanel::ShadeRect2x6(qint16 x) { shadeRectangle(m_kokuban, m_look, x, 6 * pixelsPerCm, tallSeedY); }

void BoardPanel::ShadeTriangle6x6(qint16 x)
{
    const int right = x + pieceHeight; // legs 6 cm: as wide as it is high
    const int top = baseY - pieceHeight;
    m_kokuban.line(QPointF(x, baseY), QPointF(right, baseY));
    m_kokuban.lineTo(QPointF(right, top));
    m_kokuban.lineTo(QPointF(x, baseY));

    if (x < sideAbX) {
        m_kokuban.setFillColor(m_look.outside);
        m_kokuban.floodFillBorder(QPointF(x + seedInset, triangleTipSeedY), m_kokuban.foreColor());
        if (right > sideAbX) {
            m_kokuban.setFillColor(m_look.inside);
            m_kokuban.floodFillBorder(QPointF(right - seedInset, tallSeedY), m_kokuban.foreColor());
        }
    } else {
        m_kokuban.setFillColor(m_look.inside);
        m_kokuban.floodFillBorder(QPointF(x + triangleInsideSeed, tallSeedY), m_kokuban.foreColor());
    }
}

// ---- The envelope and P ------------------------------------------------------

void BoardPanel::placeEnvelope(QPointF a, QPointF b, QPointF c, QPointF d, QPointF p)
{
    auto &label = m_controls.Label4;
    auto &line = m_controls.Line5;
    // Corner and length labels beside the envelope.
    label[0]->move(int(a.x() - 8), int(a.y() - 35));
    label[1]->move(int(b.x() + 4), int(b.y()));
    label[2]->move(int(c.x() - 8), int(c.y()));
    label[3]->move(int(d.x() - 8), int(d.y() - 35));
    label[4]->move(int((b.x() + c.x()) / 2 - 20), int(b.y() + 5));
    label[5]->move(int(c.x() + 5), int(d.y() + 20));
    movePMarker(p.x(), b.y());

    // The envelope ABCD with its base line and the flap left of AB.
    line[0]->setLine(QLine(20, int(p.y()), int(c.x()), int(c.y())));
    line[1]->setLine(QLine(int(c.x()), int(c.y()), int(d.x()), int(d.y())));
    line[2]->setLine(QLine(int(d.x()), int(d.y()), int(a.x()), int(a.y())));
    line[3]->setLine(QLine(int(a.x()), int(a.y()), int(b.x()), int(b.y())));
    // Parked below the board until a step shows it from B to P.
    line[4]->setLine(QLine(int(b.x()) + 10, parkedBarY, int(p.x()), parkedBarY));
    line[5]->setLine(QLine(int(a.x()), int(a.y()), int(a.x() - 20), int(a.y() + 15)));
    line[6]->setLine(QLine(int(a.x() - 20), int(a.y() + 15), int(b.x() - 20), int(b.y() - 15)));
    line[7]->setLine(QLine(int(b.x() - 20), int(b.y() - 15), int(b.x()), int(b.y())));

    label[6]->move(300, 330);
    label[6]->setVisible(false);
}

void BoardPanel::movePMarker(double px, double baseY)
{
    m_controls.Label4[8]->move(int(px) - pLabelOffset, int(baseY));
    m_controls.Shape1->move(int(px) - pDotOffset, int(baseY) - pDotOffset);
}

void BoardPanel::placeBar(double bx, double px, int y) { m_controls.Line5[4]->setLine(QLine(int(bx), y, int(px), y)); }

void BoardPanel::followP(double px, bool forward)
{
    // The backward step puts the label 5 px further left than the forward one.
    const double left = forward ? (px + 310) / 2 - 22 : (px + 300) / 2 - 22;
    m_controls.Label4[6]->move(int(left), px > labelLowUntilPx ? labelLowTop : labelHighTop);
    m_controls.Label4[6]->setVisible(forward || px != sideAbX);
}

void BoardPanel::hideDistanceLabel() { m_controls.Label4[6]->setVisible(false); }

// ---- The piece templates ------------------------------------------------------

void BoardPanel::PlaceLine6Figure(qint16 X, qint16 Y) { placeRectangle(m_controls.Line6, X, Y, 2 * pixelsPerCm); }

void BoardPanel::PlaceLine7Figure(qint16 X, qint16 Y) { placeRectangle(m_controls.Line7, X, Y, 4 * pixelsPerCm); }

void BoardPanel::PlaceLine9Figure(qint16 X, qint16 Y) { placeRectangle(m_controls.Line9, X, Y, 6 * pixelsPerCm); }

void BoardPanel::PlaceLine8Figure(qint16 X, qint16 Y)
{
    // Right triangle, legs 6 cm, right angle at the bottom right.
    const int h = pieceHeight;
    auto &lines = m_controls.Line8;
    lines[0]->setLine(QLine(X, Y + h, X + h, Y + h));
    lines[1]->setLine(QLine(X + h, Y + h, X + h, Y));
    lines[2]->setLine(QLine(X + h, Y, X, Y + h));
}

void BoardPanel::putTemplatesHome()
{
    auto home = [](Piece piece) { return qint16(trayHome(piece).left); };
    PlaceLine6Figure(home(Square2x2), trayTop);
    PlaceLine7Figure(home(Rect2x4), trayTop);
    PlaceLine9Figure(home(Rect2x6), trayTop);
    PlaceLine8Figure(home(TriangleLeft), trayTop);
    // Both dimension labels of every template, hidden while it was held.
    for (ui::LabelControl *label : m_controls.Label9)
        label->setVisible(true);
}

void BoardPanel::carryTemplate(int piece, QPoint corner)
{
    const auto cx = qint16(std::clamp(corner.x(), -30000, 30000));
    const auto cy = qint16(std::clamp(corner.y(), -30000, 30000));
    int firstLabel = 0; // the kind's two dimension labels are firstLabel and the next
    switch (std::min(piece, int(TriangleLeft))) {
    case Square2x2: PlaceLine6Figure(cx, cy); firstLabel = 0; break;
    case Rect2x4: PlaceLine7Figure(cx, cy); firstLabel = 2; break;
    case Rect2x6: PlaceLine9Figure(cx, cy); firstLabel = 4; break;
    default: PlaceLine8Figure(cx, cy); firstLabel = 6; break;
    }
    m_controls.Label9[std::size_t(firstLabel)]->setVisible(false);
    m_controls.Label9[std::size_t(firstLabel + 1)]->setVisible(false);
    m_kokuban.update();
}

// ---- The choice ------------------------------------------------------------------

// Around a template in the tray: its outline and its two dimension labels.
// Around a piece in the envelope: the piece where the board draws it now.
// A little outside either, on the board.
void BoardPanel::frameChosen(std::optional<Lift> chosen, const Slots &figure, double px)
{
    m_framed = chosen;
    m_chosenFrame->setVisible(chosen.has_value());
    if (!chosen)
        return;
    const int kind = std::min(chosen->piece, int(TriangleLeft));
    QRect box;
    auto include = [&box](const auto &lines) {
        for (const ui::LineControl *line : lines)
            box |= line->bounds();
    };
    switch (kind) {
    case Square2x2: include(m_controls.Line6); break;
    case Rect2x4: include(m_controls.Line7); break;
    case Rect2x6: include(m_controls.Line9); break;
    default: include(m_controls.Line8); break;
    }
    if (chosen->slot) {
        // The templates stand at home; the piece stands on the base line,
        // its first slot (a triangle's left third) at P's offset.
        const int slot = *chosen->slot;
        const int first = slot - std::max(figure[std::size_t(slot)] - int(TriangleLeft), 0);
        const TrayHome home = trayHome(Piece(kind));
        box.translate(int(px) + slotWidth * first - home.left, baseY - (trayTop + pieceHeight));
    } else {
        for (int label : {2 * (kind - 1), 2 * (kind - 1) + 1})
            box |= m_controls.Label9[std::size_t(label)]->geometry();
    }
    const int reach = chosenFrameGap + m_chosenFrame->width();
    m_chosenFrame->setGeometry(box.adjusted(-reach, -reach, reach, reach) & m_kokuban.rect());
}

} // namespace board
