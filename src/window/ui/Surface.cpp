#include "Surface.h"

#include <QBackingStore>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>

#include <cmath>
#include <utility>

namespace ui {

Surface::Surface(QSize size, QColor background, QWidget *parent)
    : QWidget(parent), m_canvas(size, background, qGuiApp ? qGuiApp->devicePixelRatio() : 1.0)
{
    setFixedSize(size);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_canvas.onChanged([this](QRect area, bool cleared) { canvasChanged(area, cleared); });
}

Surface::Surface(QWidget *parent, QRect place, QColor background) : Surface(place.size(), background, parent)
{
    move(place.topLeft());
}

void Surface::canvasChanged(QRect area, bool cleared)
{
    // At a fractional ratio the window system rounds a dirty area's edges
    // to device pixels on its own, and may stop a pixel short of the
    // canvas's own rounding: the area reaches a pixel further.
    const qreal ratio = m_canvas.ratio();
    if (ratio != std::floor(ratio))
        area = area.adjusted(-1, -1, 1, 1) & rect();
    askRepaint(area);
    // Wholly cleared, the canvas takes the window's present ratio, so that
    // what is drawn next is drawn at it, not stretched to it.
    if (cleared)
        followRatio();
}

// A step changes a few scattered things, canvas and controls, each told on
// its own: the repaint asks for the one rectangle around them all. Asked
// apart they would cut the window's dirty region into dozens of rectangles,
// and the toolkit copies and hands over each to the screen on its own (in
// the page, a crossing to the browser's graphics each); around them all it
// copies a few more pixels in one go.
void Surface::askRepaint(QRect area)
{
    if (m_awaitingPaint.contains(area))
        return;
    m_awaitingPaint |= area;
    update(m_awaitingPaint);
}

void Surface::paintEvent(QPaintEvent *event)
{
    m_awaitingPaint = {};
    QPainter painter(this);
    // Only the parts that changed: a step moves a few scattered things. The
    // canvas goes to the screen pixel for pixel, each dirty part widened to
    // whole device pixels (on a fractional scale its edges fall inside
    // them, and the surface itself may start inside a device pixel); the
    // window system clips the painting to the dirty region, so the controls
    // that reach into any widened part are painted once each, above it.
    // On a whole scale (1, 2, 3) nothing is widened.
    // Each part is also clipped to itself: a single rectangle lets the
    // paint engine copy rows straight, where the whole region would send
    // tall parts through its span filler, which hands them out to worker
    // threads and wakes them on every step of a run. That clip is exact
    // only while the window has the scale the canvas was made at; when a
    // window on a screen of another scale (or a page that rescales it)
    // stretches the canvas, the dirty region alone bounds the painting.
    // A canvas not made yet has had nothing drawn on it: every pixel is the
    // background, which is painted as it is, so an empty panel holds no
    // pixels of its own.
    // The ratio of the pixels painted on (the window's backing store, or an
    // image that the widget is rendered into), read from them: the
    // widget's own answer asks the screen, which in the page is a call
    // into the browser at every repaint.
    const QPaintDevice *painted = painter.paintEngine() ? painter.paintEngine()->paintDevice() : nullptr;
    const qreal paintedRatio = painted ? painted->devicePixelRatio() : devicePixelRatio();
    // A window rescaled without a word to its widgets (the page's fit)
    // shows a canvas of another ratio: on screen, the canvas takes the
    // window's ratio, its drawing drawn again at it.
    QBackingStore *store = backingStore();
    if (paintedRatio != m_canvas.ratio() && store && painted == store->paintDevice()
        && m_canvas.setRatio(paintedRatio)) {
        const QRegion rest = QRegion(rect()) - event->region();
        if (!rest.isEmpty())
            update(rest);
    }
    const qreal dpr = m_canvas.ratio();
    const bool wholeScale = dpr == std::floor(dpr);
    const bool atCanvasScale = paintedRatio == dpr;
    const QRect inside = m_canvas.toDevice(rect());
    QRegion reached; // the dirty parts and the pixels the widening may touch
    for (const QRect &part : event->region()) {
        if (!wholeScale)
            reached += part.adjusted(-1, -1, 1, 1);
        // Stretched, a part's edges fall inside the window's device pixels
        // and are rounded there, a pixel short of the dirty region's own
        // edges at some scales: each part reaches a pixel further, within
        // that region, so that no pixel between two parts shows what lies
        // under the surface.
        const QRect dirty = atCanvasScale ? part : part.adjusted(-1, -1, 1, 1);
        const QRect device =
            QRectF(dirty.x() * dpr, dirty.y() * dpr, dirty.width() * dpr, dirty.height() * dpr)
                .toAlignedRect() &
            inside;
        const QRectF target(device.x() / dpr, device.y() / dpr, device.width() / dpr, device.height() / dpr);
        if (atCanvasScale)
            painter.setClipRect(target);
        if (m_canvas.isUnmade()) {
            painter.fillRect(target, m_canvas.backColor());
            continue;
        }
        // Stretched, the canvas may end inside the surface's last device
        // pixels, which it would leave as an earlier picture left them:
        // they take the background first.
        if (!atCanvasScale)
            painter.fillRect(dirty, m_canvas.backColor());
        painter.drawImage(target, m_canvas.image(), device);
    }
    if (atCanvasScale)
        painter.setClipping(false);
    m_controls.paint(painter, wholeScale ? event->region() : reached);
}

// The canvas takes the new ratio and draws what it holds again at it (the
// graph's curve and the table's columns, drawn a step at a time). Only a
// picture drawn on for too long since its last clear keeps its ratio, and
// is scaled when shown.
void Surface::followRatio(qreal ratio)
{
    if (ratio != m_canvas.ratio() && m_canvas.setRatio(ratio))
        update();
}

qreal Surface::shownRatio() const
{
    QBackingStore *store = backingStore();
    const QPaintDevice *painted = store ? store->paintDevice() : nullptr;
    // Before the window's first paint its pixels may not exist yet.
    return painted && painted->width() > 0 ? painted->devicePixelRatio() : devicePixelRatio();
}

void Surface::acceptTouch() { setAttribute(Qt::WA_AcceptTouchEvents); }

bool Surface::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd: {
        const auto *touch = static_cast<QTouchEvent *>(event);
        for (const QEventPoint &point : touch->points()) {
            if (!m_finger && point.state() == QEventPoint::Pressed) {
                m_finger = point.id();
                m_fingerOrPen = true;
                emit mouseDown(Qt::LeftButton, touch->modifiers(), point.position());
            } else if (m_finger == point.id() && point.state() == QEventPoint::Updated) {
                emit mouseMove(Qt::LeftButton, touch->modifiers(), point.position());
            } else if (m_finger == point.id() && point.state() == QEventPoint::Released) {
                m_finger.reset();
                emit mouseUp(Qt::LeftButton, touch->modifiers(), point.position());
            }
        }
        event->accept();
        return true;
    }
    case QEvent::TouchCancel:
        if (m_finger) {
            m_finger.reset();
            emit touchCancelled();
        }
        event->accept();
        return true;
    case QEvent::ScreenChangeInternal:
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    case QEvent::DevicePixelRatioChange:
#endif
        followRatio(devicePixelRatio()); // the new screen's; the window's pixels follow later
        return QWidget::event(event);
    default:
        return QWidget::event(event);
    }
}

void Surface::mousePressEvent(QMouseEvent *event)
{
    using Type = QInputDevice::DeviceType;
    const Type type = event->pointingDevice() ? event->pointingDevice()->type() : Type::Mouse;
    m_fingerOrPen = type == Type::TouchScreen || type == Type::Stylus || type == Type::Airbrush;
    emit mouseDown(event->button(), event->modifiers(), event->position());
}

void Surface::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMove(event->buttons(), event->modifiers(), event->position());
}

void Surface::mouseReleaseEvent(QMouseEvent *event)
{
    emit mouseUp(event->button(), event->modifiers(), event->position());
}

// A key held down counts once: its repeats would choose a piece and then
// put it in. A key that a child widget left alone (a digit in the read-only
// read-out) comes on here, and is not the surface's. The key goes on to the
// window as well, which leaves it alone.
void Surface::keyPressEvent(QKeyEvent *event)
{
    const bool fromAChild = event == std::exchange(m_childKey, nullptr);
    if (!event->isAutoRepeat() && !fromAChild)
        emit keyDown(event->key(), event->modifiers());
    QWidget::keyPressEvent(event);
}

void Surface::childEvent(QChildEvent *event)
{
    if (event->added() && event->child()->isWidgetType())
        event->child()->installEventFilter(this);
    QWidget::childEvent(event);
}

// Notes the key press a child is handed, until the child's next event.
bool Surface::eventFilter(QObject *, QEvent *event)
{
    m_childKey = event->type() == QEvent::KeyPress ? event : nullptr;
    return false;
}

} // namespace ui
