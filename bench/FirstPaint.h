#pragma once

// Start-up helpers report the moment their first frame is on the screen, on
// the system-wide monotonic clock, so the launcher can subtract the moment it
// started the process:
//     first-paint <nanoseconds> <platform plugin>
// and then quit. The top-level window's first Paint event is handled before
// its children paint and before the frame is flushed to the window system;
// the report is queued behind it, so it runs once that whole repaint is done.

#include "BenchSupport.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>

// Under callgrind the count of instructions stops at the first frame too.
#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define KANSU_STOP_COUNTING() CALLGRIND_TOGGLE_COLLECT
#else
#define KANSU_STOP_COUNTING() ((void)0)
#endif

namespace bench {

class FirstPaintApplication : public QApplication
{
public:
    FirstPaintApplication(int &argc, char **argv) : QApplication(argc, argv)
    {
        // A helper that never paints must not hang the benchmark.
        constexpr int giveUpMs = 30000;
        QTimer::singleShot(giveUpMs, this, [] { QCoreApplication::exit(1); });
    }

    void watch(QWidget *window) { m_window = window; }

    bool notify(QObject *receiver, QEvent *event) override
    {
        const bool firstPaint = !m_reported && receiver == m_window && m_window
                                && event->type() == QEvent::Paint;
        const bool handled = QApplication::notify(receiver, event);
        if (firstPaint) {
            m_reported = true;
            KANSU_STOP_COUNTING();
            QMetaObject::invokeMethod(
                this,
                [] {
                    std::printf("first-paint %lld %s\n", monotonicNs(), qPrintable(platformName()));
                    std::fflush(stdout);
                    QCoreApplication::quit();
                },
                Qt::QueuedConnection);
        }
        return handled;
    }

private:
    QWidget *m_window = nullptr;
    bool m_reported = false;
};

} // namespace bench
