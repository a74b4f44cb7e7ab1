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

void runUntilEnd(QApplication &app)
{
    endProcess(app.exec());
}

void endProcess(int status)
{
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::_Exit(status);
}
