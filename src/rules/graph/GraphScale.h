#pragma once

#include <QPoint>
#include <QString>

#include <vector>

// The y-x graph's scale, in graph-panel pixels: the origin (x = 0, y = 0) at
// (35, 480), 30 px per cm across and 30 px per 4 cm² up.
namespace graph {

constexpr int originX = 35;
constexpr int originY = 480;
constexpr int gridStep = 30; // between grid lines: 1 cm of x across, 4 cm² of y up
constexpr double pixelsPerCmOfX = gridStep;        // 30 px per cm
constexpr double pixelsPerCm2OfY = gridStep / 4.0; // 7.5 px per cm²
constexpr int horizontalLines = 16; // y = 0, 4, ... 60 cm²
constexpr int verticalLines = 12;   // x = 0, 1, ... 11 cm
constexpr int gridWidth = 350;      // from x 35 to 385
constexpr int gridHeight = 475;     // from y 480 up to 5

double gx(double x);
double gy(double y);
// x (cm) at graph x `left`, the inverse of gx.
double xAt(double left);

// One text of the axes and where its top-left stands.
struct AxisText {
    QPoint at;
    QString text;
};
// Every label and unit of the axes, in drawing order: x labels 1..10, "(cm)",
// "0", y labels 4..60, "(cm  )" and the exponent "2" of cm².
std::vector<AxisText> axisTexts();

} // namespace graph
