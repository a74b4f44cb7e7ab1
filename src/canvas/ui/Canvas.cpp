#include "Canvas.h"

#include "fast/CanvasRows.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <utility>

namespace ui {
namespace {

// Design coordinates go to whole pixels, halves to the even neighbour.
QPointF whole(QPointF p) { return {std::nearbyint(p.x()), std::nearbyint(p.y())}; }

} // namespace

Canvas::Canvas(QSize size, QColor background, qreal ratio)
    : m_size(size), m_ratio(ratio), m_back(background), m_backAtClear(background)
{
    m_font.setStyleStrategy(QFont::NoAntialias);
}

// Tells nothing: whoever changes the ratio shows the whole picture anew.
bool Canvas::setRatio(qreal ratio)
{
    if (ratio == m_ratio)
        return true;
    if (m_drawnForgotten && !isBlank())
        return false;
    m_ratio = ratio;
    m_image = {};
    if (!isBlank())
        drawAgain();
    return true;
}

void Canvas::remember(Drawn drawn)
{
    if (m_drawingAgain || m_drawnForgotten)
        return;
    if (m_drawn.size() >= keptDrawing) {
        m_drawnForgotten = true;
        std::vector<Drawn>().swap(m_drawn);
        return;
    }
    m_drawn.push_back(std::move(drawn));
}

// The drawing since the last clear, once more in the same order on a new
// image; the state the lesson set (colours, width, font, position) stays.
void Canvas::drawAgain()
{
    const QColor fore = m_fore, fillColour = m_fillColor;
    const FillStyle fillStyle = m_fillStyle;
    const int width = m_drawWidth;
    const QFont font = m_font;
    const QPointF current = m_current;
    const Changed tell = std::exchange(m_tell, {});
    m_drawingAgain = true;
    m_back = m_backAtClear;
    m_drawnOn = {};
    pixels();
    for (const Drawn &drawn : m_drawn) {
        if (const auto *line = std::get_if<LineDrawn>(&drawn)) {
            m_drawWidth = line->width;
            strokeLine(line->from, line->to, line->colour);
        } else if (const auto *text = std::get_if<TextDrawn>(&drawn)) {
            if (m_font != text->font)
                setFont(text->font);
            m_fore = text->colour;
            m_current = text->at;
            print(text->text);
        } else if (const auto *fill = std::get_if<FillDrawn>(&drawn)) {
            m_fillStyle = FillStyle::Solid;
            m_fillColor = fill->fill;
            floodFillBorder(fill->seed, fill->border);
        } else if (const auto *change = std::get_if<RecolourDrawn>(&drawn)) {
            recolour(change->changes);
        }
    }
    m_drawingAgain = false;
    m_tell = tell;
    m_fore = fore;
    m_fillColor = fillColour;
    m_fillStyle = fillStyle;
    m_drawWidth = width;
    if (m_font != font)
        setFont(font);
    m_current = current;
}

QRect Canvas::toDevice(QRect area) const
{
    if (area.isEmpty())
        return {};
    return QRect(QPoint(toDevice(area.left()), toDevice(area.top())),
                 QPoint(toDevice(area.right() + 1) - 1, toDevice(area.bottom() + 1) - 1));
}

QRect Canvas::toDesign(QRect device) const
{
    if (device.isEmpty())
        return {};
    // The design pixels whose device blocks meet `device`: block p starts at
    // round(p * ratio), so device pixel d lies in block floor((d + 1/2) /
    // ratio), give or take the rounding of the halves.
    auto covering = [this](int d) { return int(std::floor((d + 0.5) / m_ratio)); };
    return QRect(QPoint(covering(device.left()) - 1, covering(device.top()) - 1),
                 QPoint(covering(device.right()) + 1, covering(device.bottom()) + 1));
}

const QImage &Canvas::image() const
{
    if (m_image.isNull()) {
        m_image = QImage(toDevice(rect()).size(), QImage::Format_RGB32);
        m_image.setDevicePixelRatio(m_ratio);
        m_image.fill(m_back);
    }
    return m_image;
}

QImage &Canvas::pixels()
{
    image();
    return m_image;
}

bool Canvas::fillBlocks(QRect area, QRgb value)
{
    return CanvasRows(m_image).fill(toDevice(area.left()), toDevice(area.right() + 1), toDevice(area.top()),
                                    toDevice(area.bottom() + 1), value);
}

void Canvas::setFont(const QFont &font)
{
    m_measures.clear();
    m_font = font;
    m_font.setStyleStrategy(QFont::NoAntialias);
}

void Canvas::recolour(const std::vector<ColourChange> &changes)
{
    if (!isBlank())
        remember(RecolourDrawn{changes});
    for (const ColourChange &change : changes)
        if (change.from == m_back) {
            m_back = change.to;
            break;
        }
    // Anything drawn later starts from the new background.
    if (isBlank() && !m_drawingAgain)
        m_backAtClear = m_back;
    // A canvas not made yet is made when first needed, all background.
    for (int y = 0; y < m_image.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(m_image.scanLine(y));
        for (int x = 0; x < m_image.width(); ++x)
            for (const ColourChange &change : changes)
                if (row[x] == change.from.rgb()) {
                    row[x] = change.to.rgb();
                    break;
                }
    }
    // Every pixel may have changed, as at a clear of the whole picture: all
    // of it is shown anew, whatever the last clear asked for.
    if (m_tell)
        m_tell(rect(), true);
}

void Canvas::cls()
{
    // Outside what was drawn on, the image holds the background already.
    // QImage's own fill, on a view of that part of the image, is the
    // fastest the processor has.
    const QRect device = toDevice(m_drawnOn) & m_image.rect();
    if (!device.isEmpty()) {
        QImage part(m_image.scanLine(device.top()) + device.left() * qsizetype(sizeof(QRgb)), device.width(),
                    device.height(), m_image.bytesPerLine(), m_image.format());
        part.fill(m_back.rgb());
    }
    m_current = {};
    m_drawn.clear();
    m_drawnForgotten = false;
    m_backAtClear = m_back;
    const QRect cleared = std::exchange(m_drawnOn, {});
    if (m_tell)
        m_tell(cleared, true);
}

void Canvas::changed(QRect area)
{
    area &= rect();
    m_drawnOn |= area;
    if (m_tell)
        m_tell(area, false);
}

// A line parallel to an axis is a band drawWidth pixels thick, centred on
// it (an odd width puts the spare pixel right of or below it) and squared
// off the same way at its ends, so outlines close at their corners. It is
// written straight into the image, and only a change of pixels is told.
void Canvas::fillBand(QRect band, QColor colour)
{
    if (fillBlocks(band, colour.rgb()))
        changed(band);
}

void Canvas::strokeLine(QPointF from, QPointF to, QColor colour)
{
    pixels();
    const QPoint a = whole(from).toPoint(), b = whole(to).toPoint();
    const int w = std::max(m_drawWidth, 1);
    remember(LineDrawn{from, to, colour, w});
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
    if (m_ratio == 1.0) {
        QPainter painter(&m_image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(pen);
        painter.drawLine(a, b);
    } else {
        stampScaled(reach, [&](QPainter &painter) { painter.drawLine(a, b); }, pen);
    }
    changed(reach);
}

// On a scaled image a line is drawn in design pixels, exactly as at ratio
// 1, and each design pixel it covers becomes its whole block of device
// pixels. Blocks tile the image without gaps or overlaps, so an outline
// stays closed for a fill, and drawing the line again in the background
// colour takes back exactly what it painted.
void Canvas::stampScaled(QRect reach, const std::function<void(QPainter &)> &draw, const QPen &pen)
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
void Canvas::fillDiagonal(QPoint a, QPoint b, int w, QColor colour)
{
    if (a.y() > b.y())
        std::swap(a, b);
    const int run = int(std::lround(w * std::sqrt(2.0)));
    const int step = b.x() > a.x() ? 1 : -1;
    const QRgb value = colour.rgb();
    // Row y's run is design pixels x..x+run-1, the device block of each
    // of its pixels; the image's pixels are looked up once for all rows.
    CanvasRows rows(m_image);
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

void Canvas::print(const QString &text)
{
    pixels();
    remember(TextDrawn{text, m_current, m_fore, m_font});
    const QString written = text + QLatin1Char(' ');
    const QPointF at = whole(m_current);
    const TextMeasure &measure = measured(text);
    {
        QPainter painter(&m_image);
        painter.setFont(m_font);
        painter.setPen(m_fore);
        painter.drawText(at + QPointF(0, measure.ascent), written);
    }
    changed(measure.reach.translated(at).toAlignedRect().adjusted(-1, -1, 1, 1));
    m_current.rx() += measure.advance;
}

QRect Canvas::printExtent(const QString &text, QPointF at)
{
    return measured(text).reach.translated(whole(at)).toAlignedRect().adjusted(-1, -1, 1, 1);
}

const Canvas::TextMeasure &Canvas::measured(const QString &text)
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

bool Canvas::floodFillBorder(QPointF seed, QColor border)
{
    pixels();
    if (m_fillStyle == FillStyle::Transparent)
        return false;
    remember(FillDrawn{seed, border, m_fillColor});
    // The seed's design pixel is a block of device pixels; the fill starts
    // at its first one. Every picture on the image is made of whole blocks,
    // so the fill covers whole blocks too: the ratio-1 fill, scaled.
    const QPoint at = whole(seed).toPoint();
    const QPoint device(toDevice(at.x()), toDevice(at.y()));
    const bool painted = m_filler.fill(m_image, device, border.rgb(), m_fillColor.rgb());
    if (painted)
        changed(toDesign(m_filler.lastFilled()));
    return painted;
}

QColor Canvas::pixel(int x, int y) const
{
    const QImage &held = image();
    const QPoint device(toDevice(x), toDevice(y));
    if (!held.rect().contains(device))
        return {};
    return QColor(held.pixel(device));
}

} // namespace ui
