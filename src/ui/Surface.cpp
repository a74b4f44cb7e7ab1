#include "Surface.h"

#include "FloodFill.h"

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
    m_canvas.fill(m_back);
    m_current = {};
    update();
}

void Surface::strokeLine(QPointF from, QPointF to, QColor colour)
{
    QPainter painter(&m_canvas);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QPointF a = whole(from), b = whole(to);
    if (a == b) {
        // A line of no length shows as a dot as wide as the pen.
        const int w = std::max(m_drawWidth, 1);
        painter.fillRect(QRect(int(a.x()) - w / 2, int(a.y()) - w / 2, w, w), colour);
    } else {
        painter.setPen(QPen(colour, m_drawWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawLine(a, b);
    }
    m_current = to;
    update();
}

void Surface::line(QPointF from, QPointF to) { strokeLine(from, to, m_fore); }

void Surface::line(QPointF from, QPointF to, QColor colour) { strokeLine(from, to, colour); }

void Surface::lineTo(QPointF to) { strokeLine(m_current, to, m_fore); }

void Surface::print(const QString &text)
{
    QPainter painter(&m_canvas);
    painter.setFont(m_font);
    painter.setPen(m_fore);
    const QPointF at = whole(m_current);
    const QString written = text + QLatin1Char(' ');
    painter.drawText(at + QPointF(0, painter.fontMetrics().ascent()), written);
    m_current.rx() += painter.fontMetrics().horizontalAdvance(written);
    update();
}

bool Surface::floodFillBorder(QPointF seed, QColor border)
{
    if (m_fillStyle == FillStyle::Transparent)
        return false;
    const QPointF device = whole(seed) * m_canvas.devicePixelRatio();
    const bool painted = ui::floodFillBorder(m_canvas, device.toPoint(), border.rgb(), m_fillColor.rgb());
    if (painted)
        update();
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

void Surface::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_canvas);
    m_controls.paint(painter);
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
