// The runtime folder Qt looks into at start-up (to learn whether it runs in
// a sandbox), for a program started outside a desktop session.
#include "app/runtime_directory.h"

#include <QtGlobal>

#if defined(Q_OS_UNIX) && !defined(Q_OS_WASM) && !defined(Q_OS_DARWIN)

#include <QDir>
#include <QFile>
#include <QString>

#include <pwd.h>
#include <unistd.h>

namespace app {

void provideRuntimeDirectory()
{
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return;
    const uid_t uid = geteuid();
    const passwd *user = getpwuid(uid);
    const QString name = user ? QString::fromLocal8Bit(user->pw_name) : QString::number(uid);
    const QString folder = QDir::tempPath() + QStringLiteral("/runtime-") + name;
    // Made private if it is not there yet; one that is there, of another
    // owner or open to others, is refused by Qt with a warning of its own.
    QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder));
}

} // namespace app

#else

namespace app {

void provideRuntimeDirectory() {}

} // namespace app

#endif
