#pragma once

// Qt side of the benchmarks: the platform plugin, the window as the program
// shows it, and the full figures the board and step benchmarks draw.

#include "BenchSupport.h"

#include "app/Application.h"
#include "app/Form1.h"
#include "app/SceneSetUp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWindow>

#include <array>
#include <cstdlib>
#include <memory>

namespace bench {

// Without an X display the benchmarks fall back to the offscreen plugin and
// say so in the table. Call before the QApplication is made.
inline bool useOffscreenWithoutDisplay()
{
    const char *display = std::getenv("DISPLAY");
    const char *platform = std::getenv("QT_QPA_PLATFORM");
    if ((display && *display) || (platform && *platform))
        return false;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return true;
}

inline void recordEnvironment(const std::string &bench, bool forcedOffscreen)
{
    writeMeta(bench, "qt", qVersion());
    writeMeta(bench, "platform", QGuiApplication::platformName().toStdString());
    if (forcedOffscreen)
        writeMeta(bench, "note", "DISPLAY was not set: run with QT_QPA_PLATFORM=offscreen");
}

using Figure = board::Slots;

// Figures that fill all five slots, so every slot is drawn and shaded:
// square, 2x4 rectangle, triangle; and 2x6 rectangle, triangle, 2x4 rectangle
// (the triangle at the left end and in the middle of the envelope).
constexpr std::array<Figure, 2> fullFigures{{{1, 2, 4, 5, 6}, {3, 4, 5, 6, 2}}};

// P's board positions: B (300) to the end of travel (100), one step apart.
constexpr int firstPx = board::sideAbX;
constexpr int lastPx = int(motion::endPx);
constexpr int stepPx = int(motion::stepPx);
constexpr int positionCount = (firstPx - lastPx) / stepPx + 1; // 21

// Puts a figure into the envelope the way a drop with the mouse ends:
// P back to B (最初に) and the board redrawn at the start.
inline void putFigure(Form1 &form, const Figure &figure)
{
    SceneSetUp::putFigure(form, figure);
    form.Command2_Click();
    SceneSetUp::showFigure(form, figure, qint16(firstPx));
}

// Shows the window as main() does and waits until the platform has exposed
// it, so that later repaints reach the screen.
inline void showAndExpose(Form1 &form)
{
    form.show();
    constexpr int exposeTimeoutMs = 5000;
    QElapsedTimer waited;
    waited.start();
    while (!(form.windowHandle() && form.windowHandle()->isExposed())
           && waited.elapsed() < exposeTimeoutMs)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    QApplication::processEvents();
}

// The application and the lesson window as the program shows them, exposed
// on the display (or offscreen when there is none), with the machine noted
// for the report under the benchmark's name.
class LessonWindow
{
public:
    LessonWindow(int &argc, char **argv, const std::string &bench)
        : m_offscreen(useOffscreenWithoutDisplay()), m_app(argc, argv)
    {
        setUpApplication(m_app);
        form = std::make_unique<Form1>();
        showAndExpose(*form);
        recordEnvironment(bench, m_offscreen);
    }

private:
    bool m_offscreen; // before m_app: it chooses the platform the app starts on
    QApplication m_app;

public:
    std::unique_ptr<Form1> form;
};

} // namespace bench
