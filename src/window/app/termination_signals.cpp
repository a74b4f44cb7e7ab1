// Termination signals turned into the window's own ending. A signal handler
// may do next to nothing, so it only writes a byte into a socket pair; the
// window's thread sees the byte among its events and closes the window.
#include "app/termination_signals.h"

#include <QtGlobal>

#if defined(Q_OS_UNIX) && !defined(Q_OS_WASM)

#include <QSocketNotifier>
#include <QWidget>

#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace app {

namespace {

int signalSockets[2] = {-1, -1}; // the handler writes into [0], the window reads [1]

extern "C" void onTerminationSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalSockets[0], &byte, 1);
    errno = savedErrno;
}

} // namespace

void endOnTerminationSignals(QWidget &window)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSockets) != 0)
        return; // the signals keep their default action
    auto *notifier = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window, notifier] {
        notifier->setEnabled(false); // one ending is enough
        window.close();
    });
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
}

} // namespace app

#else

namespace app {

void endOnTerminationSignals(QWidget &) {}

} // namespace app

#endif
