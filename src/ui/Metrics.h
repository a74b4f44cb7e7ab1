#pragma once

#include <QFont>
#include <QSize>

namespace ui {

// The design measures the window in twips: 15 twips to the pixel.
constexpr int twipsPerPixel = 15;

// The outer window sizes of the design include a nominal frame of 235 twips
// across and 570 twips down (border and caption). The client area is what is
// left, in pixels: 9700 x 8800 twips give 631 x 549 px.
constexpr int nominalFrameWidthTwips = 235;
constexpr int nominalFrameHeightTwips = 570;
QSize clientSizeFromOuterTwips(int outerWidthTwips, int outerHeightTwips);

// The design's font "ＭＳ Ｐゴシック" (IPAPGothic stands in) at a point size,
// on a 96-dpi design screen (18 pt = 24 px). Sizes are set in pixels so that
// every screen and platform plugin lays the window out alike.
QFont designFont(double points, bool bold = false);
// The face that stands for controls without a font of their own.
QFont defaultFont();

} // namespace ui
