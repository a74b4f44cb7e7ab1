#include "app/Application.h"
#include "app/Form1.h"
#include "app/environment_checks.h"
#include "app/runtime_directory.h"
#include "app/termination_signals.h"

#include <QApplication>

#ifdef Q_OS_WASM
#include "BrowserPage.h"
#endif

int main(int argc, char *argv[])
{
    app::provideRuntimeDirectory();
    QApplication app(argc, argv);
#ifdef Q_OS_WASM
    browser::registerBundledFace();
#endif
    setUpApplication(app);
    app::reportEnvironmentShortfalls();
    Form1 form;
#ifdef Q_OS_WASM
    browser::attachToPage(form);
#endif
    form.show();
    app::endOnTerminationSignals(form);
    return runUntilEnd(app);
}
