#include "app/Application.h"
#include "app/Form1.h"
#include "app/environment_checks.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    app::reportEnvironmentShortfalls();
    Form1 form;
    form.show();
    runUntilEnd(app);
}
