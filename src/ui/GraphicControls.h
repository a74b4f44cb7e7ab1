#pragma once

#include <QColor>
#include <QFont>
#include <QLine>
#include <QRect>
#include <QStaticText>
#include <QString>

#include <memory>
#include <vector>

class QPainter;
class QWidget;

namespace ui {

// Windowless controls: lines, a circle shape and labels that belong to a
// surface and are painted above its canvas. They never touch the canvas, so a
// flood fill sees only what the drawing procedures painted. Every change asks
// the owning widget to repaint.
class GraphicControl
{
public:
    explicit GraphicControl(QWidget *owner) : m_owner(owner) {}
    virtual ~GraphicControl() = default;
    GraphicControl(const GraphicControl &) = delete;
    GraphicControl &operator=(const GraphicControl &) = delete;

    bool isVisible() const { return m_visible; }
    void setVisible(bool visible);
    virtual void paint(QPainter &painter) const = 0;
    // The owner's pixels the control may paint.
    virtual QRect bounds() const = 0;

protected:
    // Repaints where the control was (`before`) and where it is now.
    void changed(QRect before);

private:
    QWidget *m_owner;
    bool m_visible = true;
};

// A straight line between two end points, `width` pixels thick.
class LineControl : public GraphicControl
{
public:
    LineControl(QWidget *owner, QColor colour, int width, QLine line = {});

    QLine line() const { return m_line; }
    void setLine(QLine line);
    int x1() const { return m_line.x1(); }
    int y1() const { return m_line.y1(); }
    int x2() const { return m_line.x2(); }
    int y2() const { return m_line.y2(); }
    QColor colour() const { return m_colour; }
    int width() const { return m_width; }
    void paint(QPainter &painter) const override;
    QRect bounds() const override;

private:
    QColor m_colour;
    int m_width;
    QLine m_line;
};

// A solid circle inscribed in its box (the box's smaller side is the diameter).
class ShapeControl : public GraphicControl
{
public:
    ShapeControl(QWidget *owner, QColor colour, QRect box);

    QRect geometry() const { return m_box; }
    int left() const { return m_box.left(); }
    int top() const { return m_box.top(); }
    void move(int left, int top);
    void setLeft(int left) { move(left, m_box.top()); }
    void paint(QPainter &painter) const override;
    QRect bounds() const override { return m_box; }

private:
    QColor m_colour;
    QRect m_box;
};

// A label that sizes itself to its caption in its font. An opaque label paints
// its background box; a transparent one paints only its text.
class LabelControl : public GraphicControl
{
public:
    LabelControl(QWidget *owner, const QString &caption, const QFont &font, QColor text,
                 QColor back = QColor());

    QString caption() const { return m_caption; }
    bool isOpaque() const { return m_back.isValid(); }
    QColor textColour() const { return m_text; }
    QRect geometry() const { return m_box; }
    int left() const { return m_box.left(); }
    int top() const { return m_box.top(); }
    void move(int left, int top);
    void setLeft(int left) { move(left, m_box.top()); }
    void setTop(int top) { move(m_box.left(), top); }
    void paint(QPainter &painter) const override;
    QRect bounds() const override { return m_box; }

private:
    QString m_caption;
    QStaticText m_layout; // laid out once, painted often
    QFont m_font;
    QColor m_text;
    QColor m_back;
    QRect m_box;
};

// The controls of one container in stacking order: the first added lies
// nearest the viewer and is painted last.
class ControlLayer
{
public:
    explicit ControlLayer(QWidget *owner) : m_owner(owner) {}

    template <typename Control, typename... Args>
    Control *add(Args &&...args)
    {
        auto control = std::make_unique<Control>(m_owner, std::forward<Args>(args)...);
        Control *raw = control.get();
        m_controls.push_back(std::move(control));
        return raw;
    }
    void paint(QPainter &painter) const;
    std::size_t size() const { return m_controls.size(); }

private:
    QWidget *m_owner;
    std::vector<std::unique_ptr<GraphicControl>> m_controls;
};

} // namespace ui
