#pragma once

#include <QSize>

// The lesson window's sizes. The design measures the window in twips,
// 15 twips to the pixel; everything inside it is in pixels.
namespace app {

constexpr int twipsPerPixel = 15;

// Outer sizes in twips, frame included: compact, widened for the graph
// (グラフ) and heightened for the table (表).
constexpr int compactWidthTwips = 9700;
constexpr int graphWidthTwips = 15700;
constexpr int compactHeightTwips = 8800;
constexpr int tableHeightTwips = 10800;

// The outer sizes include a nominal frame of 235 twips across and 570 twips
// down (border and caption), whatever frame the window manager draws. The
// client area is what is left, in pixels: 9700 x 8800 twips give
// 631 x 549 px.
constexpr int nominalFrameWidthTwips = 235;
constexpr int nominalFrameHeightTwips = 570;
QSize clientSizeFromOuterTwips(int outerWidthTwips, int outerHeightTwips);

} // namespace app
