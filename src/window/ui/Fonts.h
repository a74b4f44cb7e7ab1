#pragma once

#include <QFont>

namespace ui {

// The design's font "ＭＳ Ｐゴシック" (IPAPGothic stands in) at a point size,
// on a 96-dpi design screen (18 pt = 24 px). Sizes are set in pixels so that
// every screen and platform plugin lays the window out alike.
QFont designFont(double points, bool bold = false);
// The face that stands for controls without a font of their own.
QFont defaultFont();

} // namespace ui
