#include "GraphicControls.h"

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

#include <algorithm>

namespace ui {

void GraphicControl::setVisible(bool visible)
{
    if (m_visible == visible)
        return;
    m_visible = visible;
    changed(bounds());
}

void GraphicControl::changed(QRect before)
{
    if (m_owner)
        m_owner->update(before.united(bounds()));
}

LineControl::LineControl(QWidget *owner, QColor colour, int width, QLine line)
    : GraphicControl(owner), m_colour(colour), m_width(width), m_line(line)
{
}

void LineControl::setLine(QLine line)
{
    if (m_line == line)
        return;
    const QRect before = bounds();
    m_line = line;
    changed(before);
}

QRect LineControl::bounds() const
{
    const int reach = m_width / 2 + 1;
    const QPoint topLeft(std::min(m_line.x1(), m_line.x2()), std::min(m_line.y1(), m_line.y2()));
    const QPoint bottomRight(std::max(m_line.x1(), m_line.x2()), std::max(m_line.y1(), m_line.y2()));
    return QRect(topLeft, bottomRight).adjusted(-reach, -reach, reach, reach);
}

void LineControl::paint(QPainter &painter) const
{
    painter.setPen(QPen(m_colour, m_width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.drawLine(m_line);
}

ShapeControl::ShapeControl(QWidget *owner, QColor colour, QRect box)
    : GraphicControl(owner), m_colour(colour), m_box(box)
{
}

void ShapeControl::move(int left, int top)
{
    if (m_box.topLeft() == QPoint(left, top))
        return;
    const QRect before = bounds();
    m_box.moveTo(left, top);
    changed(before);
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

LabelControl::LabelControl(QWidget *owner, const QString &caption, const QFont &font,
                           QColor text, QColor back)
    : GraphicControl(owner), m_caption(caption), m_font(font), m_text(text), m_back(back)
{
    const QFontMetrics metrics(m_font);
    m_box = QRect(0, 0, metrics.horizontalAdvance(m_caption), metrics.height());
    m_layout.setText(m_caption);
    m_layout.setTextFormat(Qt::PlainText);
    m_layout.setPerformanceHint(QStaticText::AggressiveCaching);
}

void LabelControl::move(int left, int top)
{
    if (m_box.topLeft() == QPoint(left, top))
        return;
    const QRect before = bounds();
    m_box.moveTo(left, top);
    changed(before);
}

void LabelControl::paint(QPainter &painter) const
{
    if (isOpaque())
        painter.fillRect(m_box, m_back);
    painter.setFont(m_font);
    painter.setPen(m_text);
    painter.drawStaticText(m_box.topLeft(), m_layout);
}

void ControlLayer::paint(QPainter &painter) const
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (auto it = m_controls.rbegin(); it != m_controls.rend(); ++it)
        if ((*it)->isVisible())
            (*it)->paint(painter);
}

} // namespace ui
