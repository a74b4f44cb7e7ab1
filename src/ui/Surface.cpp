#include "Surface.h"

#include "CanvasRows.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <utility>

namespace ui {
namespace {

// Surface coordinates go to whole pixels, halves to the even neighbour.
QPointF whole(QPointF p) { return {std::nearbyint(p.x()), std::nearbyint(p.y())}; }

} // namespace

QRect Surface::toDevice(QRect area) const
{
    if (area.isEmpty())
        return {};
    return QRect(QPoint(toDevice(area.left()), toDevice(area.top())),
                 QPoint(toDevice(area.right() + 1) - 1, toDevice(area.bottom() + 1) - 1));
}

QRect Surface::toSurface(QRect device) const
{
    if (device.isEmpty())
        return {};
    // The surface pixels whose device blocks meet `device`: block p starts at
    // round(p * dpr), so device pixel d lies in block floor((d + 1/2) / dpr),
    // give or take the rounding of the halves.
    auto covering = [this](int d) { return int(std::floor((d + 0.5) / m_dpr)); };
    return QRect(QPoint(covering(device.left()) - 1, covering(device.top()) - 1),
                 QPoint(covering(device.right()) + 1, covering(device.bottom()) + 1));
}

Surface::Surface(QSize size, QColor background, QWidget *parent)
    : QWidget(parent), m_back(background)
{
    m_dpr = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    setFixedSize(size);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_font.setStyleStrategy(QFont::NoAntialias);
}

void Surface::makeCanvas() const
{
    m_canvas = QImage(toDevice(rect()).size(), QImage::Format_RGB32);
    m_canvas.setDevicePixelRatio(m_dpr);
    m_canvas.fill(m_back);
}

bool Surface::fillBlocks(QRect area, QRgb value)
{
    return CanvasRows(m_canvas).fill(toDevice(area.left()), toDevice(area.right() + 1), toDevice(area.top()),
                                     toDevice(area.bottom() + 1), value);
}

void Surface::drawWhenNeeded(std::function<void()> drawing)
{
    settle();
    m_waiting = std::move(drawing);
}

void Surface::runWaiting() const
{
    // Emptied first: the drawing's own calls find nothing waiting.
    const std::function<void()> drawing = std::exchange(m_waiting, {});
    drawing();
}

void Surface::setCanvasFont(const QFont &font)
{
    settle();
    m_measures.clear();
    m_font = font;
    m_font.setStyleStrategy(QFont::NoAntialias);
}

void Surface::cls()
{
    settle();
    // Outside what was drawn on, the canvas holds the background already.
    // QImage's own fill, on a view of that part of the canvas, is the
    // fastest the processor has.
    const QRect device = toDevice(m_drawnOn) & m_canvas.rect();
    if (!device.isEmpty()) {
        QImage part(m_canvas.scanLine(device.top()) + device.left() * qsizetype(sizeof(QRgb)), device.width(),
                    device.height(), m_canvas.bytesPerLine(), m_canvas.format());
        part.fill(m_back.rgb());
    }
    m_current = {};
    update(m_drawnOn);
    m_awaitingPaint = m_drawnOn;
    m_drawnOn = {};
}

void Surface::changed(QRect area)
{
    area &= rect();
    m_drawnOn |= area;
    if (!m_awaitingPaint.contains(area))
        update(area);
}

// A line parallel to an axis is a band drawWidth pixels thick, centred on
// it (an odd width puts the spare pixel right of or below it) and squared
// off the same way at its ends, so outlines close at their corners. It is
// written straight into the canvas, and only a change of pixels repaints.
void Surface::fillBand(QRect band, QColor colour)
{
    if (fillBlocks(band, colour.rgb()))
        changed(band);
}

void Surface::strokeLine(QPointF from, QPointF to, QColor colour)
{
    readyPixels();
    const QPoint a = whole(from).toPoint(), b = whole(to).toPoint();
    const int w = std::max(m_drawWidth, 1);
    m_current = to;
    if (a.x() == b.x() || a.y() == b.y()) {
        // A line of no length is a dot as wide as the pen.
        fillBand(spanning(a, b).adjusted(-w / 2, -w / 2, w - 1 - w / 2, w - 1 - w / 2), colour);
        return;
    }
    if (std::abs(b.x() - a.x()) == std::abs(b.y() - a.y())) {
        fillDiagonal(a, b, w, colour);
        return;
    }
    const QPen pen(colour, w, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    const QRect reach = spanning(a, b).adjusted(-w, -w, w, w);
    if (m_dpr == 1.0) {
        QPainter painter(&m_canvas);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(pen);
        painter.drawLine(a, b);
    } else {
        stampScaled(reach, [&](QPainter &painter) { painter.drawLine(a, b); }, pen);
    }
    changed(reach);
}

// On a scaled canvas a line is drawn in surface pixels, exactly as at scale
// 1, and each surface pixel it covers becomes its whole block of device
// pixels. Blocks tile the canvas without gaps or overlaps, so an outline
// stays closed for a fill, and drawing the line again in the background
// colour takes back exactly what it painted.
void Surface::stampScaled(QRect reach, const std::function<void(QPainter &)> &draw, const QPen &pen)
{
    QImage mask(reach.size(), QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.translate(-reach.topLeft());
        painter.setPen(pen);
        draw(painter);
    }
    const QRgb value = pen.color().rgb();
    for (int y = 0; y < mask.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(mask.constScanLine(y));
        for (int x = 0; x < mask.width(); ++x) {
            if (qAlpha(row[x]) == 0)
                continue;
            fillBlocks(QRect(reach.x() + x, reach.y() + y, 1, 1), value);
        }
    }
}

// A line at 45 degrees (the triangle's long side) is, row by row, a run of
// round(w * sqrt 2) pixels centred on it: w pixels thick across the line,
// and runs of neighbouring rows overlap, so the line is closed to a fill.
void Surface::fillDiagonal(QPoint a, QPoint b, int w, QColor colour)
{
    if (a.y() > b.y())
        std::swap(a, b);
    const int run = int(std::lround(w * std::sqrt(2.0)));
    const int step = b.x() > a.x() ? 1 : -1;
    const QRgb value = colour.rgb();
    // Row y's run is surface pixels x..x+run-1, the device block of each
    // of its pixels; the canvas's pixels are looked up once for all rows.
    CanvasRows rows(m_canvas);
    bool anyChanged = false;
    int deviceTop = toDevice(a.y());
    for (int y = a.y(); y <= b.y(); ++y) {
        const int x = a.x() + step * (y - a.y()) - run / 2;
        const int deviceBottom = toDevice(y + 1);
        anyChanged |= rows.fill(toDevice(x), toDevice(x + run), deviceTop, deviceBottom, value);
        deviceTop = deviceBottom;
    }
    if (anyChanged)
        changed(spanning(a, b).adjusted(-run, -1, run, 1));
}

void Surface::line(QPointF from, QPointF to)
{
    settle(); // the waiting drawing may change the foreground colour
    strokeLine(from, to, m_fore);
}

void Surface::line(QPointF from, QPointF to, QColor colour) { strokeLine(from, to, colour); }

void Surface::lineTo(QPointF to)
{
    settle(); // and the current position
    strokeLine(m_current, to, m_fore);
}

void Surface::print(const QString &text)
{
    readyPixels();
    const QString written = text + QLatin1Char(' ');
    const QPointF at = whole(m_current);
    const TextMeasure &measure = measured(text);
    {
        QPainter painter(&m_canvas);
        painter.setFont(m_font);
        painter.setPen(m_fore);
        painter.drawText(at + QPointF(0, measure.ascent), written);
    }
    changed(measure.reach.translated(at).toAlignedRect().adjusted(-1, -1, 1, 1));
    m_current.rx() += measure.advance;
}

QRect Surface::printExtent(const QString &text, QPointF at)
{
    settle();
    return measured(text).reach.translated(whole(at)).toAlignedRect().adjusted(-1, -1, 1, 1);
}

const Surface::TextMeasure &Surface::measured(const QString &text)
{
    // The graph and the table write the same few texts again and again.
    if (const auto known = m_measures.constFind(text); known != m_measures.cend())
        return *known;
    constexpr qsizetype keptTexts = 256; // far more than a lesson writes
    if (m_measures.size() >= keptTexts)
        m_measures.clear();
    const QString written = text + QLatin1Char(' ');
    const QFontMetricsF metrics(m_font);
    const qreal advance = metrics.horizontalAdvance(written);
    // Every glyph, also where it reaches past its advance or its line; the
    // text's top-left lies `ascent` above its baseline.
    const QRectF reach = metrics.boundingRect(written).translated(0, metrics.ascent()) |
                         QRectF(0, 0, advance, metrics.height());
    return *m_measures.insert(text, {reach, advance, metrics.ascent()});
}

bool Surface::floodFillBorder(QPointF seed, QColor border)
{
    readyPixels();
    if (m_fillStyle == FillStyle::Transparent)
        return false;
    // The seed's surface pixel is a block of device pixels; the fill starts
    // at its first one. Every picture on the canvas is made of whole blocks,
    // so the fill covers whole blocks too: the scale-1 fill, scaled.
    const QPoint at = whole(seed).toPoint();
    const QPoint device(toDevice(at.x()), toDevice(at.y()));
    const bool painted = m_filler.fill(m_canvas, device, border.rgb(), m_fillColor.rgb());
    if (painted)
        changed(toSurface(m_filler.lastFilled()));
    return painted;
}

QColor Surface::pixel(int x, int y) const
{
    readyPixels();
    const QPoint device(toDevice(x), toDevice(y));
    if (!m_canvas.rect().contains(device))
        return {};
    return QColor(m_canvas.pixel(device));
}

void Surface::paintEvent(QPaintEvent *event)
{
    settle(); // a waiting drawing's repaint requests come after this one
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
    const bool wholeScale = m_dpr == std::floor(m_dpr);
    const bool atCanvasScale = devicePixelRatio() == m_dpr;
    const QRect inside = toDevice(rect());
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
            QRectF(dirty.x() * m_dpr, dirty.y() * m_dpr, dirty.width() * m_dpr, dirty.height() * m_dpr)
                .toAlignedRect() &
            inside;
        const QRectF target(device.x() / m_dpr, device.y() / m_dpr, device.width() / m_dpr,
                            device.height() / m_dpr);
        if (atCanvasScale)
            painter.setClipRect(target);
        if (m_canvas.isNull())
            painter.fillRect(target, m_back);
        else
            painter.drawImage(target, m_canvas, device);
    }
    if (atCanvasScale)
        painter.setClipping(false);
    m_controls.paint(painter, wholeScale ? event->region() : reached);
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
    default:
        return QWidget::event(event);
    }
}

void Surface::mousePressEvent(QMouseEvent *event)
{
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

} // namespace ui
