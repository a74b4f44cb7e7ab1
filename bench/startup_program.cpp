// The program's start-up as main() does it, ending at the window's first
// painted frame (see FirstPaint.h).
#include "FirstPaint.h"

#include "app/Application.h"
#include "app/Form1.h"

int main(int argc, char *argv[])
{
    bench::FirstPaintApplication app(argc, argv);
    setUpApplication(app);
    Form1 form;
    app.watch(&form);
    form.show();
    return app.exec();
}
