#pragma once

#include "FloodFill.h"
#include "GraphicControls.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QPointF>
#include <QWidget>

#include <functional>
#include <optional>

namespace ui {

// A drawing surface with a retained canvas. Coordinates are the surface's own
// pixels (origin top-left, y downwards); they are rounded to whole pixels, and
// the canvas holds devicePixelRatio device pixels per surface pixel so that
// lines and text stay sharp on scaled screens. All canvas drawing is aliased:
// boundary fills need exact colours, and drawing a line or text again in the
// background colour must restore the canvas exactly.
class Surface : public QWidget
{
    Q_OBJECT
public:
    enum class FillStyle { Solid, Transparent };

    Surface(QSize size, QColor background, QWidget *parent = nullptr);

    // Drawing that nobody needs yet (on a surface out of view): it runs,
    // once, just before anything else reads, draws on or paints the surface,
    // or reads or sets its drawing state, so every later call finds the
    // surface exactly as if it had run at once. It may use only this
    // surface, since it runs at a moment of the surface's choosing. A second
    // call while one waits runs the first.
    void drawWhenNeeded(std::function<void()> drawing);

    QColor backColor() const { return m_back; }
    QColor foreColor() const { settle(); return m_fore; } // pen and text colour
    void setForeColor(QColor colour) { settle(); m_fore = colour; }
    int drawWidth() const { settle(); return m_drawWidth; }
    void setDrawWidth(int pixels) { settle(); m_drawWidth = pixels; }
    FillStyle fillStyle() const { settle(); return m_fillStyle; }
    void setFillStyle(FillStyle style) { settle(); m_fillStyle = style; }
    QColor fillColor() const { settle(); return m_fillColor; }
    void setFillColor(QColor colour) { settle(); m_fillColor = colour; }
    void setCanvasFont(const QFont &font);
    QFont canvasFont() const { settle(); return m_font; }
    QPointF currentPos() const { settle(); return m_current; }
    void setCurrentPos(QPointF pos) { settle(); m_current = pos; }

    // Clears the canvas to the background colour; the controls stay.
    void cls();
    // A line in the foreground colour or in `colour`, drawWidth pixels thick.
    // The end point becomes the current position for lineTo().
    void line(QPointF from, QPointF to);
    void line(QPointF from, QPointF to, QColor colour);
    // A line in the foreground colour from the end of the previous line.
    void lineTo(QPointF to);
    // Writes `text` and one blank at the current position (its top-left),
    // in the foreground colour with a transparent background.
    void print(const QString &text);
    // The pixels print() would touch writing `text` at `at`.
    QRect printExtent(const QString &text, QPointF at);
    // Boundary flood fill with the fill colour from `seed` up to pixels of
    // `border`; does nothing while the fill style is transparent.
    bool floodFillBorder(QPointF seed, QColor border);

    // Read-back: the colour at a surface pixel, and the whole canvas.
    QColor pixel(int x, int y) const;
    const QImage &canvas() const { readyPixels(); return m_canvas; }

    ControlLayer &controls() { return m_controls; }

signals:
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF pos);
    void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, QPointF pos);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF pos);
    // A touch that the system took back (a gesture of its own, a palm):
    // the press it began has no release.
    void touchCancelled();

public:
    // A surface that takes touch turns its first finger into the mouse
    // signals above, as the left button; further fingers are ignored.
    void acceptTouch();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // Runs the drawing that waits, if any.
    void settle() const
    {
        if (m_waiting)
            runWaiting();
    }
    void runWaiting() const;
    // Before pixels are drawn or read: the waiting drawing has run, and the
    // canvas is there. It is made on first use, all background, so a panel
    // that is never shown holds none.
    void readyPixels() const
    {
        settle();
        if (m_canvas.isNull())
            makeCanvas();
    }
    void makeCanvas() const;

    // The first device pixel of surface pixel k, and the device pixels of a
    // surface area; the surface pixels that cover a device area.
    int toDevice(int k) const { return qRound(k * m_dpr); }
    QRect toDevice(QRect area) const;
    QRect toSurface(QRect device) const;
    void stampScaled(QRect reach, const std::function<void(QPainter &)> &draw, const QPen &pen);
    void strokeLine(QPointF from, QPointF to, QColor colour);
    // Writes `value` into the device blocks of a surface area (clipped to
    // the canvas); says whether any pixel changed.
    bool fillBlocks(QRect area, QRgb value);
    void fillBand(QRect band, QColor colour);
    void fillDiagonal(QPoint a, QPoint b, int w, QColor colour);
    // What print() needs to know of a text in the canvas font, besides the
    // glyphs: the pixels it may touch from its top-left (surface pixels),
    // how far it moves the current position, and its baseline's depth.
    struct TextMeasure {
        QRectF reach;
        qreal advance;
        qreal ascent;
    };
    const TextMeasure &measured(const QString &text);
    // Repaints a changed area (surface pixels) and remembers it as drawn on.
    void changed(QRect area);

    mutable QImage m_canvas; // null until first needed
    qreal m_dpr = 1.0; // device pixels per surface pixel
    QColor m_back;
    QColor m_fore{Qt::black};
    QColor m_fillColor{Qt::black};
    FillStyle m_fillStyle = FillStyle::Transparent;
    int m_drawWidth = 1;
    QFont m_font;
    QHash<QString, TextMeasure> m_measures; // in m_font, by text
    QPointF m_current;
    ControlLayer m_controls{this};
    FloodFiller m_filler;
    // Where anything was drawn since the last clear: the rest of the canvas
    // holds the background, and a clear repaints only this.
    QRect m_drawnOn;
    // The area the latest clear asked to be repainted, until the repaint:
    // drawing inside it needs no request of its own (a redraw after a
    // clear draws mostly where the last picture was).
    QRect m_awaitingPaint;
    std::optional<int> m_finger; // the touch point that acts as the mouse
    // The drawing that waits until the surface is needed; it changes the
    // surface only through its own calls, so it may run from a const one.
    mutable std::function<void()> m_waiting;
};

} // namespace ui
