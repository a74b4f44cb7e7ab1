#pragma once

#include "ui/Canvas.h"

#include <QColor>
#include <QFont>
#include <QLine>
#include <QRect>
#include <QRegion>
#include <QStaticText>
#include <QString>

#include <memory>
#include <vector>

class QPainter;

namespace ui {

class Surface;

// Windowless controls: lines, a circle shape and labels that belong to a
// surface and are painted above its canvas. They never touch the canvas, so a
// flood fill sees only what the drawing procedures painted. Every change asks
// the owning surface to repaint.
class GraphicControl
{
public:
    explicit GraphicControl(Surface *owner) : m_owner(owner) {}
    virtual ~GraphicControl() = default;
    GraphicControl(const GraphicControl &) = delete;
    GraphicControl &operator=(const GraphicControl &) = delete;

    bool isVisible() const { return m_visible; }
    void setVisible(bool visible);
    virtual void paint(QPainter &painter) const = 0;
    // The owner's pixels the control may paint.
    virtual QRect bounds() const = 0;

protected:
    // Call before a change that moves or reshapes the control, and changed()
    // after it: together they repaint where it was and where it is now.
    void aboutToChange();
    void changed();
    // Call after a change that keeps the control where it is (its colours).
    void repaint()
    {
        aboutToChange();
        changed();
    }

private:
    bool ownerShown() const;

    Surface *m_owner;
    bool m_visible = true;
    QRect m_before; // where the control was, while a change is made
};

// A straight line between two end points, `width` pixels thick. Its ends are
// flat at the end points, or squared off half the width beyond them (as the
// canvas draws its lines) so that two such lines meeting at a corner close it.
class LineControl : public GraphicControl
{
public:
    LineControl(Surface *owner, QColor colour, int width, QLine line = {},
                Qt::PenCapStyle ends = Qt::FlatCap);

    QLine line() const { return m_line; }
    void setLine(QLine line);
    int x1() const { return m_line.x1(); }
    int y1() const { return m_line.y1(); }
    int x2() const { return m_line.x2(); }
    int y2() const { return m_line.y2(); }
    QColor colour() const { return m_colour; }
    void setColour(QColor colour)
    {
        m_colour = colour;
        repaint();
    }
    int width() const { return m_width; }
    void paint(QPainter &painter) const override;
    QRect bounds() const override;

private:
    QColor m_colour;
    int m_width;
    QLine m_line;
    Qt::PenCapStyle m_ends;
};

// A solid circle inscribed in its box (the box's smaller side is the diameter).
class ShapeControl : public GraphicControl
{
public:
    ShapeControl(Surface *owner, QColor colour, QRect box);

    QRect geometry() const { return m_box; }
    int left() const { return m_box.left(); }
    int top() const { return m_box.top(); }
    void move(int left, int top);
    QColor colour() const { return m_colour; }
    void setColour(QColor colour)
    {
        m_colour = colour;
        repaint();
    }
    void paint(QPainter &painter) const override;
    QRect bounds() const override { return m_box; }

private:
    QColor m_colour;
    QRect m_box;
};

// A rectangular frame: a band `width` pixels wide along the inside of its
// rectangle, nothing inside the band.
class FrameControl : public GraphicControl
{
public:
    FrameControl(Surface *owner, QColor colour, int width);

    QRect geometry() const { return m_rect; }
    void setGeometry(QRect rect);
    int width() const { return m_width; }
    void paint(QPainter &painter) const override;
    QRect bounds() const override { return m_rect; }

private:
    QColor m_colour;
    int m_width;
    QRect m_rect;
};

// A label that sizes itself to its caption in its font, unless it is given
// the size of its box. An opaque label paints its background box; a
// transparent one paints only its text.
class LabelControl : public GraphicControl
{
public:
    LabelControl(Surface *owner, const QString &caption, const QFont &font, QColor text,
                 QColor back = QColor());

    QString caption() const { return m_caption; }
    bool isOpaque() const { return m_back.isValid(); }
    QColor textColour() const { return m_text; }
    // The text's colour and the box's (invalid: transparent).
    void setColours(QColor text, QColor back = QColor())
    {
        m_text = text;
        m_back = back;
        repaint();
    }
    QRect geometry() const { return {m_topLeft, m_box.isValid() ? m_box : size()}; }
    int left() const { return m_topLeft.x(); }
    int top() const { return m_topLeft.y(); }
    void move(int left, int top);
    // The box keeps this size whatever the caption measures in its font; the
    // caption stays at the box's top-left and may reach past it.
    void setBoxSize(QSize size);
    // At the box's place, with the box's size (an opaque label keeps the
    // box its design gives it, however the face measures the caption).
    void setBox(QRect box)
    {
        move(box.left(), box.top());
        setBoxSize(box.size());
    }
    void paint(QPainter &painter) const override;
    QRect bounds() const override; // the box and the caption

private:
    // The caption's size in its font, measured when first needed: a label
    // that is never shown never loads its font.
    QSize size() const;

    QString m_caption;
    QStaticText m_layout; // laid out once, painted often
    QFont m_font;
    QColor m_text;
    QColor m_back;
    QPoint m_topLeft;
    QSize m_box; // set by setBoxSize; invalid: the caption's size
    mutable QSize m_size;
};

// The controls of one container in stacking order: the first added lies
// nearest the viewer and is painted last.
class ControlLayer
{
public:
    explicit ControlLayer(Surface *owner) : m_owner(owner) {}

    template <typename Control, typename... Args>
    Control *add(Args &&...args)
    {
        auto control = std::make_unique<Control>(m_owner, std::forward<Args>(args)...);
        Control *raw = control.get();
        m_controls.push_back(std::move(control));
        return raw;
    }
    // Paints the visible controls that reach into `dirty` (owner pixels).
    void paint(QPainter &painter, const QRegion &dirty) const;
    std::size_t size() const { return m_controls.size(); }

private:
    Surface *m_owner;
    std::vector<std::unique_ptr<GraphicControl>> m_controls;
};

} // namespace ui
