#pragma once

#include "ui/Canvas.h"
#include "GraphicControls.h"

#include <QWidget>

#include <optional>

namespace ui {

// The widget that shows a canvas (see Canvas.h) in its own design pixels:
// it paints the parts the drawing changed, then its windowless controls
// above them, and turns the mouse, a finger and a pen into the signals
// below. The drawing calls are the canvas's own, handed on.
class Surface : public QWidget
{
    Q_OBJECT
public:
    using FillStyle = Canvas::FillStyle;

    Surface(QSize size, QColor background, QWidget *parent = nullptr);
    // At `place` in its parent (the parent's pixels), of that size.
    Surface(QWidget *parent, QRect place, QColor background);

    QColor backColor() const { return m_canvas.backColor(); }
    void recolour(const std::vector<Canvas::ColourChange> &changes) { m_canvas.recolour(changes); }
    QColor foreColor() const { return m_canvas.foreColor(); } // pen and text colour
    void setForeColor(QColor colour) { m_canvas.setForeColor(colour); }
    int drawWidth() const { return m_canvas.drawWidth(); }
    void setDrawWidth(int pixels) { m_canvas.setDrawWidth(pixels); }
    void setFillStyle(FillStyle style) { m_canvas.setFillStyle(style); }
    void setFillColor(QColor colour) { m_canvas.setFillColor(colour); }
    void setCanvasFont(const QFont &font) { m_canvas.setFont(font); }
    QFont canvasFont() const { return m_canvas.font(); }
    void setCurrentPos(QPointF pos) { m_canvas.setCurrentPos(pos); }

    // Clears the canvas to the background colour; the controls stay.
    void cls() { m_canvas.cls(); }
    void line(QPointF from, QPointF to) { m_canvas.line(from, to); }
    void line(QPointF from, QPointF to, QColor colour) { m_canvas.line(from, to, colour); }
    void lineTo(QPointF to) { m_canvas.lineTo(to); }
    void print(const QString &text) { m_canvas.print(text); }
    QRect printExtent(const QString &text, QPointF at) { return m_canvas.printExtent(text, at); }
    bool floodFillBorder(QPointF seed, QColor border) { return m_canvas.floodFillBorder(seed, border); }

    // Read-back: the colour at a surface pixel, and the canvas's pixels.
    QColor pixel(int x, int y) const { return m_canvas.pixel(x, y); }
    const QImage &canvas() const { return m_canvas.image(); }

    ControlLayer &controls() { return m_controls; }
    // Asks for `area` (surface pixels) to be shown anew, with every other
    // change since the last repaint.
    void askRepaint(QRect area);

signals:
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF pos);
    void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, QPointF pos);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF pos);
    // A touch that the system took back (a gesture of its own, a palm):
    // the press it began has no release.
    void touchCancelled();
    // A key pressed on the surface (with the focus on it, or sent to it),
    // once however long it is held; not one that a child widget left alone
    // (the window's own shortcuts, Tab and Shift+Tab never come here).
    void keyDown(int key, Qt::KeyboardModifiers shift);

public:
    // A surface that takes touch turns its first finger into the mouse
    // signals above, as the left button; further fingers are ignored.
    void acceptTouch();
    // Whether the latest press came from a finger or a pen rather than a
    // mouse (a finger needs a larger mark to hit).
    bool pressedByFingerOrPen() const { return m_fingerOrPen; }

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void childEvent(QChildEvent *event) override;
    bool eventFilter(QObject *child, QEvent *event) override;

private:
    // Takes the pixel ratio `ratio` (by default the window's as it is
    // painted), the drawing drawn again at it.
    void followRatio(qreal ratio);
    void followRatio() { followRatio(shownRatio()); }
    // The ratio of the window's painted pixels, read from them: the
    // widget's own answer asks its screen, which in the page is a call into
    // the browser. Before the window has pixels, the widget's.
    qreal shownRatio() const;
    // Asks for a repaint of what the canvas changed (surface pixels).
    void canvasChanged(QRect area, bool cleared);

    Canvas m_canvas;
    ControlLayer m_controls{this};
    // The one rectangle that holds every change since the last repaint
    // (surface pixels): drawing inside it needs no request of its own (a
    // redraw after a clear draws mostly where the last picture was).
    QRect m_awaitingPaint;
    std::optional<int> m_finger; // the touch point that acts as the mouse
    bool m_fingerOrPen = false;  // pressedByFingerOrPen
    const QEvent *m_childKey = nullptr; // a key press a child widget is handling
};

} // namespace ui
