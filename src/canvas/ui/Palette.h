#pragma once

#include <QColor>

namespace ui {

// The 16-colour console palette, index 0 to 15 (0 black, 2 dark green,
// 7 light grey, 9 bright blue, 14 yellow, 15 white, ...). An index outside
// 0..15 gives an invalid QColor.
QColor paletteColor(int index);

// A colour literal in the platform order 0x00BBGGRR (blue in the high byte),
// as the lesson writes its erasing colour &H00C0FFFF = RGB(255, 255, 192).
constexpr QColor colorFromBgr(quint32 bgr)
{
    return QColor(int(bgr & 0xff), int((bgr >> 8) & 0xff), int((bgr >> 16) & 0xff));
}

} // namespace ui
