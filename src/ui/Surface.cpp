#include "Surface.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace ui {
namespace {

// Surface coordinates go to whole pixels, halves to the even neighbour.
QPointF whole(QPointF p) { return {std::nearbyint(p.x()), std::nearbyint(p.y())}; }

} // namespace

Surface::Surface(QSize size, QColor background, QWidget *parent)
    : QWidget(parent), m_back(background)
{
    const qreal dpr = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    m_canvas = QImage(size * dpr, QImage::Format_RGB32);
    m_canvas.setDevicePixelRatio(dpr);
    m_canvas.fill(m_back);
    setFixedSize(size);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_font.setStyleStrategy(QFont::NoAntialias);
}

void Surface::setCanvasFont(const QFont &font)
{
    m_font = font;
    m_font.setStyleStrategy(QFont::NoAntialias);
}

void Surface::cls()
{
    // Outside what was drawn on, the canvas holds the background already.
    const QRgb back = m_back.rgb();
    const qreal dpr = m_canvas.devicePixelRatio();
    const QRect device = QRectF(m_drawnOn.x() * dpr, m_drawnOn.y() * dpr, m_drawnOn.width() * dpr,
                                m_drawnOn.height() * dpr)
                             .toAlignedRect() &
                         m_canvas.rect();
    auto *bits = reinterpret_cast<QRgb *>(m_canvas.bits());
    const qsizetype stride = m_canvas.bytesPerLine() / qsizetype(sizeof(QRgb));
    for (int y = device.top(); y <= device.bottom(); ++y)
        std::fill_n(bits + y * stride + device.left(), device.width(), back);
    m_current = {};
    update(m_drawnOn);
    m_drawnOn = {};
}

void Surface::changed(QRect area)
{
    area &= rect();
    m_drawnOn |= area;
    update(area);
}

// A line parallel to an axis is a band drawWidth pixels thick, centred on
// it (an odd width puts the spare pixel right of or below it) and squared
// off the same way at its ends, so outlines close at their corners. It is
// written straight into the canvas, and only a change of pixels repaints.
void Surface::fillBand(QRect band, QColor colour)
{
    const qreal dpr = m_canvas.devicePixelRatio();
    const QRect device =
        QRectF(band.x() * dpr, band.y() * dpr, band.width() * dpr, band.height() * dpr).toAlignedRect() &
        m_canvas.rect();
    if (device.isEmpty())
        return;
    const QRgb value = colour.rgb();
    bool anyChanged = false;
    auto *bits = reinterpret_cast<QRgb *>(m_canvas.bits());
    const qsizetype stride = m_canvas.bytesPerLine() / qsizetype(sizeof(QRgb));
    for (int y = device.top(); y <= device.bottom(); ++y) {
        QRgb *from = bits + y * stride + device.left();
        QRgb *to = from + device.width();
        anyChanged = anyChanged || std::any_of(from, to, [value](QRgb p) { return p != value; });
        std::fill(from, to, value);
    }
    if (anyChanged)
        changed(band);
}

void Surface::strokeLine(QPointF from, QPointF to, QColor colour)
{
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
    QPainter painter(&m_canvas);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(colour, w, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawLine(a, b);
    changed(spanning(a, b).adjusted(-w, -w, w, w));
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
    const qreal dpr = m_canvas.devicePixelRatio();
    const QRgb value = colour.rgb();
    auto *bits = reinterpret_cast<QRgb *>(m_canvas.bits());
    const qsizetype stride = m_canvas.bytesPerLine() / qsizetype(sizeof(QRgb));
    const QRect inside = m_canvas.rect();
    bool anyChanged = false;
    for (int y = a.y(); y <= b.y(); ++y) {
        const int x = a.x() + step * (y - a.y()) - run / 2;
        const QRect device =
            QRectF(x * dpr, y * dpr, run * dpr, dpr).toAlignedRect() & inside;
        for (int dy = device.top(); dy <= device.bottom(); ++dy) {
            QRgb *from = bits + dy * stride + device.left();
            QRgb *to = from + device.width();
            anyChanged = anyChanged || std::any_of(from, to, [value](QRgb p) { return p != value; });
            std::fill(from, to, value);
        }
    }
    if (anyChanged)
        changed(spanning(a, b).adjusted(-run, -1, run, 1));
}

void Surface::line(QPointF from, QPointF to) { strokeLine(from, to, m_fore); }

void Surface::line(QPointF from, QPointF to, QColor colour) { strokeLine(from, to, colour); }

void Surface::lineTo(QPointF to) { strokeLine(m_current, to, m_fore); }

void Surface::print(const QString &text)
{
    const QString written = text + QLatin1Char(' ');
    const QPointF at = whole(m_current);
    const QFontMetricsF metrics(m_font);
    {
        QPainter painter(&m_canvas);
        painter.setFont(m_font);
        painter.setPen(m_fore);
        painter.drawText(at + QPointF(0, metrics.ascent()), written);
    }
    changed(printExtent(text, at));
    m_current.rx() += metrics.horizontalAdvance(written);
}

QRect Surface::printExtent(const QString &text, QPointF at)
{
    const QString written = text + QLatin1Char(' ');
    const QFontMetricsF metrics(m_font);
    // Every glyph, also where it reaches past its advance or its line; the
    // text's top-left lies `ascent` above its baseline.
    const QRectF glyphs = metrics.boundingRect(written).translated(0, metrics.ascent()) |
                          QRectF(0, 0, metrics.horizontalAdvance(written), metrics.height());
    return glyphs.translated(whole(at)).toAlignedRect().adjusted(-1, -1, 1, 1);
}

bool Surface::floodFillBorder(QPointF seed, QColor border)
{
    if (m_fillStyle == FillStyle::Transparent)
        return false;
    const QPointF device = whole(seed) * m_canvas.devicePixelRatio();
    const bool painted = m_filler.fill(m_canvas, device.toPoint(), border.rgb(), m_fillColor.rgb());
    if (painted) {
        const QRect filled = m_filler.lastFilled();
        const qreal dpr = m_canvas.devicePixelRatio();
        changed(QRectF(filled.x() / dpr, filled.y() / dpr, filled.width() / dpr, filled.height() / dpr)
                    .toAlignedRect());
    }
    return painted;
}

QColor Surface::pixel(int x, int y) const
{
    const qreal dpr = m_canvas.devicePixelRatio();
    const QPoint device(int(x * dpr), int(y * dpr));
    if (!m_canvas.rect().contains(device))
        return {};
    return QColor(m_canvas.pixel(device));
}

void Surface::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const qreal dpr = m_canvas.devicePixelRatio();
    // Only the parts that changed: a step moves a few scattered things.
    for (const QRect &dirty : event->region()) {
        painter.setClipRect(dirty);
        painter.drawImage(dirty, m_canvas, QRectF(dirty.topLeft() * dpr, dirty.size() * dpr));
        m_controls.paint(painter, dirty);
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
