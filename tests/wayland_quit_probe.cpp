// A plain program, no test runner: it opens the lesson window exactly as the
// program does, gives the speed box the keyboard focus, ends the lesson the
// way a pupil does and leaves through the program's own shutdown path.
// tests/window/test_wayland_quit.sh starts it many times under a Wayland
// compositor and checks that every process ends promptly.
//
//   wayland_quit_probe end      click 終了
//   wayland_quit_probe close    close the window (the compositor's close)
//   wayland_quit_probe run-end  click 終了 while an automatic run waits
//
// Exit status 0 when the lesson ended as it should; the process ending is
// the main check. It writes "ending the lesson" on stdout as it ends the
// lesson, for the script to time the way out from there, and a line
// starting "wayland_quit_probe:" on stderr
// for anything wrong it sees on the way: the speed box without the focus, a
// step after 終了, or the window being torn down on the way out (the
// toolkit's teardown, where a Wayland session has been seen to hang).
#include "app/Application.h"
#include "app/Form1.h"
#include "app/environment_checks.h"

#include "TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstring>

namespace {

void complain(const char *what)
{
    std::fprintf(stderr, "wayland_quit_probe: %s\n", what);
    std::fflush(stderr);
}

void announceEnding()
{
    std::printf("ending the lesson\n");
    std::fflush(stdout);
}

void pressEnd(Form1 &form)
{
    announceEnding();
    QTest::mouseClick(form.controls().end, Qt::LeftButton);
}

} // namespace

int main(int argc, char *argv[])
{
    const char *mode = argc > 1 ? argv[1] : "end";
    if (std::strcmp(mode, "end") != 0 && std::strcmp(mode, "close") != 0
        && std::strcmp(mode, "run-end") != 0) {
        std::fprintf(stderr, "usage: %s end|close|run-end\n", argv[0]);
        return 2;
    }

    QApplication app(argc, argv);
    setUpApplication(app);
    app::reportEnvironmentShortfalls();
    Form1 form;
    form.show();

    // Leaving through the window's destructor means the toolkit is being torn
    // down after the main loop: on Wayland the way out must not go there.
    QObject::connect(&form, &QObject::destroyed,
                     [] { complain("the window was torn down on the way out"); });

    if (!QTest::qWaitForWindowExposed(&form, testsupport::patienceMs)) {
        complain("the window was never shown");
        return 3;
    }
    // A compositor without input devices never activates the window by
    // itself; activation is what a pupil's first click would bring.
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QApplication::setActiveWindow(&form);
    QT_WARNING_POP
    form.controls().Combo1->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    QWidget *focus = QApplication::focusWidget();
    if (focus != form.controls().Combo1 && focus != form.controls().Combo1->lineEdit()) {
        complain("the speed box did not get the keyboard focus");
        return 3;
    }

    if (std::strcmp(mode, "end") == 0) {
        QTimer::singleShot(0, &form, [&form] { pressEnd(form); });
    } else if (std::strcmp(mode, "close") == 0) {
        QTimer::singleShot(0, &form, [&form] {
            announceEnding();
            form.close();
        });
    } else {
        // Speed "10" waits 50 ms between steps; 終了 comes in the first wait,
        // and no step may follow it.
        form.controls().Combo1->setCurrentText(QStringLiteral("10"));
        QObject::connect(&form, &Form1::waitStarted, &form, [&form] {
            QTimer::singleShot(0, &form, [&form] {
                pressEnd(form);
                QObject::connect(&form, &Form1::distanceChanged,
                                 [] { complain("a step came after 終了"); });
            });
        }, Qt::SingleShotConnection);
        QTimer::singleShot(0, &form, [&form] { QTest::mouseClick(form.controls().jidou, Qt::LeftButton); });
    }

    return runUntilEnd(app);
}
