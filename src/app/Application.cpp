#include "app/Application.h"

#include "ui/Metrics.h"

#include <QApplication>
#include <QStyleFactory>

void setUpApplication(QApplication &app)
{
    app.setStyle(QStyleFactory::create(QStringLiteral("Windows")));
    app.setFont(ui::defaultFont());
}
