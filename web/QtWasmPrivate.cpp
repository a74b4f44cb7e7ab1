#include "QtWasmPrivate.h"

#include <QPointingDevice>
#include <QScreen>
#include <QWindow>
#include <QtGui/private/qhighdpiscaling_p.h>
#include <qpa/qplatformscreen.h>
#include <qpa/qplatformwindow.h>
#include <qpa/qwindowsysteminterface.h>

#include <emscripten/emscripten.h>
#include <emscripten/val.h>

namespace browser::qtprivate {

void flushWindowSystemEvents()
{
    QWindowSystemInterface::flushWindowSystemEvents();
}

void setScreenScale(QScreen &screen, double scale)
{
    // What the platform has reported so far is in the old scale's pixels.
    QWindowSystemInterface::flushWindowSystemEvents();
    QHighDpiScaling::setScreenFactor(&screen, scale);
    // The toolkit keeps that factor under the screen's name, and asks the
    // screen its name (in the page, a call into the browser) at every
    // mapping of a point or a rectangle, several times a step. The same
    // factor as the screen's own property, which it looks up first, is
    // found without asking.
    screen.setProperty("_q_scaleFactor", scale);
    // The platform's own handler of the browser's resize event, called here
    // as the page's change of the canvas raises no such event.
    emscripten::val::module_property("qtResizeAllScreens")(emscripten::val::undefined());
    QWindowSystemInterface::flushWindowSystemEvents();
}

void placeWindow(QWindow &window, const QRect &place)
{
    QPlatformWindow *platform = window.handle();
    if (!platform)
        return;
    const QRect native = QHighDpi::toNativeWindowGeometry(place, &window);
    if (platform->geometry() != native)
        platform->setGeometry(native);
}

double platformPixelRatio(QWindow &window)
{
    return window.handle() ? window.handle()->devicePixelRatio() : 1.0;
}

bool sendMouse(QWindow &window, QEvent::Type type, double x, double y, Qt::MouseButtons held,
               Qt::MouseButton changed, Qt::KeyboardModifiers modifiers, bool pen)
{
    // A pen comes as the mouse does, from a stylus of its own, so that the
    // lesson can tell it from the mouse (a pen's press has a finger's reach).
    static const QPointingDevice *const stylus = [] {
        auto *device = new QPointingDevice(QStringLiteral("page pen"), 1, QInputDevice::DeviceType::Stylus,
                                           QPointingDevice::PointerType::Pen, QInputDevice::Capability::Position,
                                           1, 3);
        QWindowSystemInterface::registerInputDevice(device);
        return device;
    }();
    if (!window.handle() || !window.screen() || !window.screen()->handle())
        return false;
    // Native pixels: the screen's and the platform window's own places.
    const QPointF global = QPointF(window.screen()->handle()->geometry().topLeft()) + QPointF(x, y);
    const QPointF local = global - QPointF(window.handle()->geometry().topLeft());
    const QPointingDevice *device = pen ? stylus : QPointingDevice::primaryPointingDevice();
    return QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::SynchronousDelivery>(
        &window, ulong(emscripten_get_now()), device, local, global, held, changed, type, modifiers);
}

bool sendKey(QWindow &window, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers,
             const QString &text, bool autoRepeat, bool shortcutsOnly)
{
    const ulong time = ulong(emscripten_get_now());
    if (shortcutsOnly)
        return type == QEvent::KeyPress
               && QWindowSystemInterface::handleShortcutEvent(&window, time, key, modifiers, 0, 0, 0, text,
                                                              autoRepeat);
    return QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::SynchronousDelivery>(
        &window, time, type, key, modifiers, text, autoRepeat);
}

} // namespace browser::qtprivate
