#pragma once

// Shared by the test suites: an area oracle computed from the figure's
// geometry alone, and small helpers to read the scene.

#include "app/Application.h"
#include "app/Form1.h"

#include <QApplication>

#include <algorithm>
#include <array>

namespace testsupport {

// Area (cm²) of the part of the figure that has come out of the envelope
// when P has moved x cm: the figure is cut at distance x from its left edge.
// Worked from the pieces' shapes, not from the program's strip tables:
// slot s spans [2s, 2s + 2] cm; codes 1..3 are 2, 4 and 6 cm high; a 4 starts
// a triangle over [2s, 2s + 6] whose height rises 1 cm per cm; 5 and 6 are
// the rest of that triangle and add nothing by themselves.
inline double areaOut(const board::Slots &figure, double x)
{
    double area = 0;
    for (int s = 0; s < 5; ++s) {
        const double left = 2.0 * s;
        const int code = figure[std::size_t(s)];
        if (code >= 1 && code <= 3) {
            const double width = std::clamp(x - left, 0.0, 2.0);
            area += width * 2.0 * code;
        } else if (code == 4) {
            const double u = std::clamp(x - left, 0.0, 6.0);
            area += u * u / 2.0;
        }
    }
    return area;
}

// Makes the application look as the program does (style and fonts).
inline void setUpTestApplication()
{
    setUpApplication(*qApp);
}

} // namespace testsupport
