#pragma once

#include <Qt>

namespace browser {

// The modifier keys as the page passes them with a pointer or a key: bit 1
// Shift, 2 Ctrl, 4 Alt, 8 Meta (the DOM's shiftKey … metaKey).
inline Qt::KeyboardModifiers modifiersFromPage(int bits)
{
    Qt::KeyboardModifiers held;
    if (bits & 1) held |= Qt::ShiftModifier;
    if (bits & 2) held |= Qt::ControlModifier;
    if (bits & 4) held |= Qt::AltModifier;
    if (bits & 8) held |= Qt::MetaModifier;
    return held;
}

} // namespace browser
