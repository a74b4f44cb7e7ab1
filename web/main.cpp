// The lesson in the browser: the desktop's start-up, with the bundled face
// registered first and the window attached to the page that hosts it.
#include "BrowserPage.h"

#include "app/Application.h"
#include "app/Form1.h"
#include "app/environment_checks.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    browser::registerBundledFace();
    setUpApplication(app);
    app::reportEnvironmentShortfalls();
    Form1 form;
    browser::attachToPage(form);
    form.show();
    return runUntilEnd(app);
}
