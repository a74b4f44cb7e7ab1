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

const Surface::Glyphs &Surface::glyphs(const QString &text)
{
    if (const auto it = m_glyphCache.constFind(text); it != m_glyphCache.cend())
        return *it;
    if (m_glyphCache.size() >= glyphCacheLimit)
        m_glyphCache.clear();
    const QFontMetricsF metrics(m_font);
    const qreal dpr = m_canvas.devicePixelRatio();
    // Room for every glyph, also where it reaches past its advance or line;
    // the text's top-left lies `ascent` above its baseline.
    const QRectF box = metrics.boundingRect(text) |
                       QRectF(0, -metrics.ascent(), metrics.horizontalAdvance(text), metrics.height());
    const QRect area = box.adjusted(-1, -1, 1, 1).toAlignedRect();
    QImage mask(area.size() * dpr, QImage::Format_ARGB32_Premultiplied);
    mask.setDevicePixelRatio(dpr);
    mask.fill(Qt::transparent);
    {
        QPainter painter(&mask);
        painter.setFont(m_font);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(-area.left(), -area.top()), text);
    }
    Glyphs g;
    const QPoint origin(int(std::lround(area.left() * dpr)),
                        int(std::lround((area.top() + metrics.ascent()) * dpr)));
    for (int y = 0; y < mask.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(mask.constScanLine(y));
        for (int x = 0; x < mask.width(); ++x)
            if (qAlpha(line[x]) != 0) // aliased text: a pixel is set or it is not
                g.pixels.push_back(origin + QPoint(x, y));
    }
    g.extent = QRectF(QPointF(origin) / dpr, QSizeF(mask.size()) / dpr).toAlignedRect();
    g.advance = metrics.horizontalAdvance(text);
    return *m_glyphCache.insert(text, g);
}

void Surface::print(const QString &text)
{
    const Glyphs &g = glyphs(text + QLatin1Char(' '));
    const qreal dpr = m_canvas.devicePixelRatio();
    const QPointF at = whole(m_current);
    const QPoint origin(int(std::lround(at.x() * dpr)), int(std::lround(at.y() * dpr)));
    const QRect inside = m_canvas.rect();
    const QRgb value = m_fore.rgb();
    auto *bits = reinterpret_cast<QRgb *>(m_canvas.bits());
    const qsizetype stride = m_canvas.bytesPerLine() / qsizetype(sizeof(QRgb));
    bool anyChanged = false;
    for (const QPoint &p : g.pixels) {
        const QPoint d = origin + p;
        if (!inside.contains(d))
            continue;
        QRgb &pixel = bits[d.y() * stride + d.x()];
        anyChanged = anyChanged || pixel != value;
        pixel = value;
    }
    if (anyChanged)
        changed(g.extent.translated(at.toPoint()));
    m_current.rx() += g.advance;
}

QRect Surface::printExtent(const QString &text, QPointF at)
{
    return glyphs(text + QLatin1Char(' ')).extent.translated(whole(at).toPoint());
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
    m_controls.paint(painter, dirty);
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
