#pragma once

class QWidget;

namespace app {

// A request to end the process by a signal ends the lesson as closing its
// window does (which is 終了): SIGTERM (kill, the end of a session), SIGINT
// (Ctrl+C in the terminal that started it) and SIGHUP (that terminal
// closed). The process then ends with status 0, as after 終了, instead of
// being killed wherever it was. Call it once the window exists.
void endOnTerminationSignals(QWidget &window);

} // namespace app
