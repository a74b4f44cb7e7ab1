#include "GraphicControls.h"

#include "ui/Surface.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace ui {

void GraphicControl::setVisible(bool visible)
{
    if (m_visible == visible)
        return;
    aboutToChange();
    m_visible = visible;
    changed();
}

// Nothing needs repainting, or measuring, while the owner is not on screen.
bool GraphicControl::ownerShown() const { return m_owner && m_owner->isVisible(); }

void GraphicControl::aboutToChange() { m_before = ownerShown() ? bounds() : QRect(); }

void GraphicControl::changed()
{
    if (ownerShown())
        m_owner->askRepaint(m_before.united(bounds()));
}

LineControl::LineControl(Surface *owner, QColor colour, int width, QLine line, Qt::PenCapStyle ends)
    : GraphicControl(owner), m_colour(colour), m_width(width), m_line(line), m_ends(ends)
{
}

void LineControl::setLine(QLine line)
{
    if (m_line == line)
        return;
    aboutToChange();
    m_line = line;
    changed();
}

QRect LineControl::bounds() const
{
    const int reach = m_width / 2 + 1;
    return spanning(m_line.p1(), m_line.p2()).adjusted(-reach, -reach, reach, reach);
}

void LineControl::paint(QPainter &painter) const
{
    painter.setPen(QPen(m_colour, m_width, Qt::SolidLine, m_ends, Qt::MiterJoin));
    painter.drawLine(m_line);
}

ShapeControl::ShapeControl(Surface *owner, QColor colour, QRect box)
    : GraphicControl(owner), m_colour(colour), m_box(box)
{
}

void ShapeControl::move(int left, int top)
{
    if (m_box.topLeft() == QPoint(left, top))
        return;
    aboutToChange();
    m_box.moveTo(left, top);
    changed();
}

void ShapeControl::paint(QPainter &painter) const
{
    const int d = std::min(m_box.width(), m_box.height());
    QRect circle(0, 0, d, d);
    circle.moveCenter(m_box.center());
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_colour);
    painter.drawEllipse(circle);
    painter.setBrush(Qt::NoBrush);
}

FrameControl::FrameControl(Surface *owner, QColor colour, int width)
    : GraphicControl(owner), m_colour(colour), m_width(width)
{
}

void FrameControl::setGeometry(QRect rect)
{
    if (m_rect == rect)
        return;
    aboutToChange();
    m_rect = rect;
    changed();
}

void FrameControl::paint(QPainter &painter) const
{
    const QRect r = m_rect;
    const int w = m_width;
    painter.fillRect(QRect(r.left(), r.top(), r.width(), w), m_colour);
    painter.fillRect(QRect(r.left(), r.bottom() - w + 1, r.width(), w), m_colour);
    painter.fillRect(QRect(r.left(), r.top() + w, w, r.height() - 2 * w), m_colour);
    painter.fillRect(QRect(r.right() - w + 1, r.top() + w, w, r.height() - 2 * w), m_colour);
}

LabelControl::LabelControl(Surface *owner, const QString &caption, const QFont &font,
                           QColor text, QColor back)
    : GraphicControl(owner), m_caption(caption), m_font(font), m_text(text), m_back(back)
{
    m_layout.setText(m_caption);
    m_layout.setTextFormat(Qt::PlainText);
    m_layout.setPerformanceHint(QStaticText::AggressiveCaching);
}

QSize LabelControl::size() const
{
    if (!m_size.isValid()) {
        const QFontMetrics metrics(m_font);
        m_size = QSize(metrics.horizontalAdvance(m_caption), metrics.height());
    }
    return m_size;
}

void LabelControl::setBoxSize(QSize size)
{
    aboutToChange();
    m_box = size;
    changed();
}

QRect LabelControl::bounds() const { return geometry() | QRect(m_topLeft, size()); }

void LabelControl::move(int left, int top)
{
    if (m_topLeft == QPoint(left, top))
        return;
    aboutToChange();
    m_topLeft = QPoint(left, top);
    changed();
}

void LabelControl::paint(QPainter &painter) const
{
    if (isOpaque())
        painter.fillRect(geometry(), m_back);
    painter.setFont(m_font);
    painter.setPen(m_text);
    painter.drawStaticText(m_topLeft, m_layout);
}

void ControlLayer::paint(QPainter &painter, const QRegion &dirty) const
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (auto it = m_controls.rbegin(); it != m_controls.rend(); ++it)
        if ((*it)->isVisible() && dirty.intersects((*it)->bounds()))
            (*it)->paint(painter);
}

} // namespace ui
