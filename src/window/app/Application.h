#pragma once

class QApplication;

// Application-wide look shared by the program, its tests and benchmarks:
// Qt's classic "Windows" style (it paints every button in its plain design
// colour, on every desktop) and the Japanese Gothic standing in for the
// design's font as the default.
void setUpApplication(QApplication &app);

// Whether the command line asks for the contrast view: `--contrast`
// (Form1::setContrastView). Other arguments are left to the toolkit.
bool askedForContrastView(const QApplication &app);

// Runs the main loop until 終了 or the closing of the window ends it and
// returns the loop's exit status, for main to return: the toolkit then tears
// down as usual. On Wayland the process ends at once instead, with that
// status: the program keeps no data, and there the toolkit's own teardown
// can block for ever inside the platform plugin, with the window already
// gone and the process still alive.
[[nodiscard]] int runUntilEnd(QApplication &app);

// Ends the process at once with `status`: what is pending on stdout and
// stderr is written first, no destructor or exit handler runs.
[[noreturn]] void endProcess(int status);
