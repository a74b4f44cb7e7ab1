#pragma once

#include <QEvent>
#include <QPointF>
#include <QRect>
#include <Qt>

class QScreen;
class QWindow;

// Every call of the browser build into Qt's private API, in one place.
// Written for Qt 6.4.2 and its WebAssembly platform plugin; check each
// against a newer Qt before building with it.
namespace browser::qtprivate {

// Events the platform has reported but the toolkit not yet handled are
// handled now, so that what follows sees their outcome.
void flushWindowSystemEvents();

// Draws the screen at `scale` lesson pixels to a canvas pixel (the page's
// fit): the toolkit's scale factor of the screen, and the screen's size
// taken afresh from its canvas, as the platform does on a browser resize.
void setScreenScale(QScreen &screen, double scale);

// Puts `window` at `place` (the lesson's pixels) in the screen's native
// pixels, where the toolkit's own setGeometry would compare in the lesson's
// pixels and take a native size one pixel off for the same place: the
// window's picture would then be stretched by that pixel onto the canvas.
void placeWindow(QWindow &window, const QRect &place);

// The canvas pixels per CSS pixel of `window` (the browser's pixel
// ratio, or the page's own where it shrinks the lesson), without the
// toolkit's scale factor of the screen.
double platformPixelRatio(QWindow &window);

// A mouse event from the page at (x, y) CSS pixels from the canvas's top
// left, delivered at once. The platform's own handling compares canvas
// pixels with the window's place in lesson pixels; here both are the
// screen's native pixels, which the toolkit turns into the lesson's. A
// pen's events come from a stylus device, the mouse's from the mouse.
bool sendMouse(QWindow &window, QEvent::Type type, double x, double y, Qt::MouseButtons held,
               Qt::MouseButton changed, Qt::KeyboardModifiers modifiers, bool pen);

// A key from the page, delivered at once to the toolkit's focus widget:
// the window's shortcuts first (a focus widget that takes the key for
// itself, such as a text field its arrows, keeps it), then, unless
// `shortcutsOnly`, the key press or release itself. True when it was used.
bool sendKey(QWindow &window, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers,
             const QString &text, bool autoRepeat, bool shortcutsOnly);

} // namespace browser::qtprivate
