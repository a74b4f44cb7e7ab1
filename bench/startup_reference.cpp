// The floor of a Qt window's start-up on this machine: an empty window of the
// program's compact client size with one label in the program's Japanese
// face, so that loading that font is part of the floor too.
#include "FirstPaint.h"

#include "app/WindowSizes.h"

#include <QFont>
#include <QLabel>
#include <QWidget>

namespace {

constexpr int titlePixelSize = 32;       // the program's title "関数の利用"

} // namespace

int main(int argc, char *argv[])
{
    bench::FirstPaintApplication app(argc, argv);
    QWidget window;
    // The program's window without graph and table.
    window.resize(app::clientSizeFromOuterTwips(app::compactWidthTwips, app::compactHeightTwips));
    QLabel title(QStringLiteral("関数の利用"), &window);
    QFont face(QStringLiteral("IPAPGothic"));
    face.setPixelSize(titlePixelSize);
    title.setFont(face);
    title.adjustSize();
    app.watch(&window);
    window.show();
    return app.exec();
}
