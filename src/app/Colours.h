#pragma once

#include "ui/Palette.h"

#include <QColor>

// Design colours that more than one part of the window paints with.
namespace app {

// The cream of the graph and table panels, as the lesson writes it:
// &H00C0FFFF, blue in the high byte, RGB(255, 255, 192). It is their
// background, the background of the table's headings, and the colour in
// which the graph's curve and the table's values are erased.
constexpr QColor panelCream = ui::colorFromBgr(0x00C0FFFF);

} // namespace app
