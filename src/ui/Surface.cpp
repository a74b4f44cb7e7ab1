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

// Texts printed on one surface are few (axis labels, table values); the
// cache is dropped whole should a surface ever collect more.
constexpr int glyphCacheLimit = 1024;

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
    m_glyphCache.clear();
}

void Surface::cls()
{
    m_canvas.fill(m_back);
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
        QRgb *line = bits + y * stride;
        for (int x = device.left(); x <= device.right(); ++x) {
            anyChanged = anyChanged || line[x] != value;
            line[x] = value;
        }
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
        const QRect band(QPoint(std::min(a.x(), b.x()) - w / 2, std::min(a.y(), b.y()) - w / 2),
                         QPoint(std::max(a.x(), b.x()) + (w - 1 - w / 2),
                                std::max(a.y(), b.y()) + (w - 1 - w / 2)));
        fillBand(band, colour);
        return;
    }
    QPainter painter(&m_canvas);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(colour, w, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawLine(a, b);
    changed(QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())))
               .adjusted(-w, -w, w, w));
}

void Surface::line(QPointF from, QPointF to) { strokeLine(from, to, m_fore); }

void Surface::line(QPointF from, QPointF to, QColor colour) { strokeLine(from, to, colour); }

void Surface::lineTo(QPointF to) { strokeLine(m_current, to, m_fore); }

const Surface::Glyphs &Surface::glyphs(const QString &text)
{
    if (const auto it = m_glyphCache.constFind(text); it != m_glyphCache.cend())
        return *it;
    if (m_glyphCache.size() >= glyphCacheLimit)
        m_glyphCache.clear();
    const QFontMetricsF metrics(m_font);
    const qreal dpr = m_canvas.devicePixelRatio();
    // Room for every glyph, also where it reaches past its advance or line.
    const QRectF box = metrics.boundingRect(text) | QRectF(0, -metrics.ascent(), metrics.horizontalAdvance(text), metrics.height());
    const QRect area = box.adjusted(-1, -1, 1, 1).toAlignedRect();
    Glyphs g;
    g.mask = QImage(area.size() * dpr, QImage::Format_ARGB32_Premultiplied);
    g.mask.setDevicePixelRatio(dpr);
    g.mask.fill(Qt::transparent);
    {
        QPainter painter(&g.mask);
        painter.setFont(m_font);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(-area.left(), -area.top()), text);
    }
    // Relative to the text's top-left: the baseline lies `ascent` below it.
    g.offset = QPoint(int(std::lround(area.left() * dpr)), int(std::lround((area.top() + metrics.ascent()) * dpr)));
    g.advance = metrics.horizontalAdvance(text);
    return *m_glyphCache.insert(text, g);
}

void Surface::print(const QString &text)
{
    const QString written = text + QLatin1Char(' ');
    const Glyphs &g = glyphs(written);
    const qreal dpr = m_canvas.devicePixelRatio();
    const QPointF at = whole(m_current);
    const QPoint origin = QPoint(int(std::lround(at.x() * dpr)), int(std::lround(at.y() * dpr))) + g.offset;
    const QRgb value = m_fore.rgb();
    bool anyChanged = false;
    for (int my = 0; my < g.mask.height(); ++my) {
        const int y = origin.y() + my;
        if (y < 0 || y >= m_canvas.height())
            continue;
        const auto *maskLine = reinterpret_cast<const QRgb *>(g.mask.constScanLine(my));
        auto *line = reinterpret_cast<QRgb *>(m_canvas.scanLine(y));
        for (int mx = 0; mx < g.mask.width(); ++mx) {
            const int x = origin.x() + mx;
            if (qAlpha(maskLine[mx]) == 0 || x < 0 || x >= m_canvas.width() || line[x] == value)
                continue;
            line[x] = value;
            anyChanged = true;
        }
    }
    if (anyChanged)
        changed(QRectF(QPointF(origin) / dpr, g.mask.deviceIndependentSize()).toAlignedRect());
    m_current.rx() += g.advance;
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
    const QRect dirty = event->rect();
    const qreal dpr = m_canvas.devicePixelRatio();
    painter.drawImage(dirty, m_canvas, QRectF(dirty.topLeft() * dpr, dirty.size() * dpr));
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
