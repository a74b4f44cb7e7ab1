// The lesson in the browser: the desktop's start-up, with the bundled face
// registered first and the window attached to the page that hosts it.
#include "BrowserPage.h"

#include "app/Application.h"
#include "app/Form1.h"
#include "app/environment_checks.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // The page's screen has 96 dots per inch (the toolkit's answer when the
    // page sets no other): the toolkit takes that for granted rather than
    // asking the browser at every image it makes, a few times a step.
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
    QApplication app(argc, argv);
    browser::registerBundledFace();
    setUpApplication(app);
    app::reportEnvironmentShortfalls();
    Form1 form;
    browser::attachToPage(form);
    form.show();
    return runUntilEnd(app);
}
