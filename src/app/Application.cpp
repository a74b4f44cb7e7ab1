#include "app/Application.h"

#include "ui/Metrics.h"

#include <QApplication>
#include <QStyleFactory>

void setUpApplication(QApplication &app)
{
    ui::installFontSubstitutes();
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    app.setFont(ui::defaultFont());
}
