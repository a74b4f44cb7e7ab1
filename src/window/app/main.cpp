#include "app/Application.h"
#include "app/Form1.h"
#include "app/environment_checks.h"
#include "app/runtime_directory.h"
#include "app/termination_signals.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    app::provideRuntimeDirectory();
    QApplication app(argc, argv);
    setUpApplication(app);
    app::reportEnvironmentShortfalls();
    Form1 form;
    form.setContrastView(askedForContrastView(app));
    form.show();
    app::endOnTerminationSignals(form);
    return runUntilEnd(app);
}
