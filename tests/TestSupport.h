#pragma once

// Shared by the test suites: an area oracle computed from the figure's
// geometry alone, the window's sizes and colours from the design's facts
// (app/DesignFacts.h), typing key by key, printing slot arrays in failed
// comparisons, and the application's look.

#include "app/Application.h"
#include "app/DesignFacts.h"
#include "app/Form1.h"
#include "app/SceneSetUp.h"

#include <QApplication>
#include <QRgb>
#include <QSize>
#include <QTest>

#include <algorithm>

// Slot arrays go into data-driven rows, and a failed comparison prints their
// codes (QTest has no printer for std::array).
Q_DECLARE_METATYPE(board::Slots)

namespace QTest {
template <>
inline char *toString(const board::Slots &s)
{
    return qstrdup(qPrintable(QStringLiteral("{%1, %2, %3, %4, %5}").arg(s[0]).arg(s[1]).arg(s[2]).arg(s[3]).arg(s[4])));
}
} // namespace QTest

namespace testsupport {

// Area (cm²) of the part of the figure that has come out of the envelope
// when P has moved x cm: the figure is cut at distance x from its left edge.
// Worked from the pieces' shapes, not from the program's strip tables:
// slot s spans [2s, 2s + 2] cm; codes 1..3 are 2, 4 and 6 cm high; a 4 starts
// a triangle over [2s, 2s + 6] whose height rises 1 cm per cm; 5 and 6 are
// the rest of that triangle and add nothing by themselves.
inline double areaOut(const board::Slots &figure, double x)
{
    double area = 0;
    for (int s = 0; s < 5; ++s) {
        const double left = 2.0 * s;
        const int code = figure[std::size_t(s)];
        if (code >= 1 && code <= 3) {
            const double width = std::clamp(x - left, 0.0, 2.0);
            area += width * 2.0 * code;
        } else if (code == 4) {
            const double u = std::clamp(x - left, 0.0, 6.0);
            area += u * u / 2.0;
        }
    }
    return area;
}

// How long a test waits for a state that a quiet machine reaches at once (a
// window shown or made active, a size or window state taken). The wait ends
// as soon as the state is there, so only a state that never comes uses it
// up: it is generous enough for a busy machine and for the sanitizers.
constexpr int patienceMs = 120'000;

// The window's client area (px): compact, widened by グラフ, heightened by 表.
inline QSize clientWith(bool graph, bool table)
{
    return app::clientSizeFromOuterTwips(graph ? app::graphWidthTwips : app::compactWidthTwips,
                                         table ? app::tableHeightTwips : app::compactHeightTwips);
}
inline const QSize compactClient = clientWith(false, false);
inline const QSize graphClient = clientWith(true, false);
inline const QSize tableClient = clientWith(false, true);
inline const QSize fullClient = clientWith(true, true);

// The design's colours, as the canvases must show them.
inline const QRgb boardGreen = app::boardGreen.rgb(); // the cleared board; the graph's grid
inline const QRgb trayGreen = app::trayGreen.rgb();   // the tray band Line1
inline const QRgb panelCream = app::panelCream.rgb(); // graph and table background
inline const QRgb white = app::white.rgb();  // shading outside the envelope; the envelope
inline const QRgb yellow = app::yellow.rgb(); // templates; the board's pen once a piece was dropped
// Palette colours: shading inside the envelope; the board's grid and the
// graph's labels; the graph's curve and the table's values.
inline const QRgb grey = ui::paletteColor(7).rgb();
inline const QRgb black = ui::paletteColor(0).rgb();
inline const QRgb valueBlue = ui::paletteColor(9).rgb();

// Types `text` key by key into `target`; characters outside printable ASCII
// arrive as key events carrying that text, as an input method delivers them.
inline void typeKeys(QWidget *target, const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f)
            QTest::keyClick(target, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Makes the application look as the program does (style and fonts).
// Handles events until the automatic run has ended, or the window is
// ending: a run goes on from the event loop after each of its waits.
inline void waitForRunEnd(Form1 &f)
{
    while (f.isRunning() && !f.isEnding())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

inline void setUpTestApplication()
{
    setUpApplication(*qApp);
}

} // namespace testsupport
