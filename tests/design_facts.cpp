// Writes the window's design facts (app/DesignFacts.h, app/WindowSizes.h)
// as JSON, for the shell tests (tests/window/lib.sh) and the page tests
// (tests/web/lesson.mjs), which are not C++ and cannot read the table:
//
//   design_facts FILE
//
// Places are [left, top, width, height] in their container's pixels,
// colours [red, green, blue]; "palette" is the console palette, index 0..15.
// "envelope" and the tray's "frames" are [left, top, width, height] in board
// pixels (20 px = 1 cm); "trayPoints" (template 0..3 in tray order) and
// "slotPoints" (slot 0..4) are [x, y], where the keys and tests click.
#include "app/DesignFacts.h"
#include "board/ClickRules.h"
#include "board/Geometry.h"
#include "graph/GraphScale.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace {

QString text(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

QJsonArray json(QRect r) { return {r.x(), r.y(), r.width(), r.height()}; }
QJsonArray json(QSize s) { return {s.width(), s.height()}; }
QJsonArray json(QPointF p) { return {p.x(), p.y()}; }
QJsonArray json(QColor c) { return {c.red(), c.green(), c.blue()}; }

template <std::size_t N>
QJsonObject json(const std::array<app::Place, N> &places)
{
    QJsonObject o;
    for (const app::Place &p : places)
        o.insert(text(p.control), json(p.rect));
    return o;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    using namespace app;
    QJsonObject colourTable;
    for (const NamedColour &c : colours)
        colourTable.insert(text(c.name), json(c.colour));
    QJsonArray palette;
    for (int i = 0; i < 16; ++i)
        palette.append(json(ui::paletteColor(i)));
    QJsonArray frames, trayPoints, slotPoints;
    for (int n = 0; n < int(board::trayHomes.size()); ++n) {
        const board::TrayHome &home = board::trayHomes[std::size_t(n)];
        frames.append(json(QRect(home.left, board::trayTop, home.width, board::pieceHeight)));
        trayPoints.append(json(board::trayPoint(n)));
    }
    for (int i = 0; i < board::slotCount; ++i)
        slotPoints.append(json(board::slotPoint(i)));
    const QJsonObject facts{
        {"caption", text(caption)},
        // The client area: compact, widened by グラフ, heightened by 表, both.
        {"client",
         QJsonObject{
             {"compact", json(clientSizeFromOuterTwips(compactWidthTwips, compactHeightTwips))},
             {"graph", json(clientSizeFromOuterTwips(graphWidthTwips, compactHeightTwips))},
             {"table", json(clientSizeFromOuterTwips(compactWidthTwips, tableHeightTwips))},
             {"full", json(clientSizeFromOuterTwips(graphWidthTwips, tableHeightTwips))},
         }},
        {"window", json(windowPlaces)},
        {"board", json(boardPlaces)},
        {"table", json(tablePlaces)},
        {"colours", colourTable},
        {"palette", palette},
        // The envelope ABCD: A at [left, top], C at [left + width, top + height].
        {"envelope", QJsonArray{board::sideAbX, board::envelopeTop, board::envelopeRight - board::sideAbX,
                                board::baseY - board::envelopeTop}},
        {"frames", frames},
        {"trayPoints", trayPoints},
        {"slotPoints", slotPoints},
        // The graph's x axis: where x = 0 stands and how far 1 cm reaches
        // (graph pixels).
        {"graphAxis", QJsonObject{{"originX", graph::originX}, {"pixelsPerCm", graph::pixelsPerCmOfX}}},
    };
    QFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || out.write(QJsonDocument(facts).toJson()) < 0 || !out.flush()) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
