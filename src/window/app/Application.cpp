#include "app/Application.h"

#include "ui/Fonts.h"

#include <QApplication>
#include <QStyleFactory>

#include <cstdio>
#include <cstdlib>
#include <iostream>

void setUpApplication(QApplication &app)
{
    app.setStyle(QStyleFactory::create(QStringLiteral("Windows")));
    app.setFont(ui::defaultFont());
}

bool askedForContrastView(const QApplication &app)
{
    return app.arguments().contains(QStringLiteral("--contrast"));
}

int runUntilEnd(QApplication &app)
{
    const int status = app.exec();
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        endProcess(status);
    return status;
}

void endProcess(int status)
{
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::_Exit(status);
}
