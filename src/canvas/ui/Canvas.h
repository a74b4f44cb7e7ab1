#pragma once

#include "fast/FloodFill.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QPointF>

#include <functional>
#include <variant>
#include <vector>

class QPainter;
class QPen;

namespace ui {

// The rectangle with corners a and b, both included, whichever way round.
inline QRect spanning(QPoint a, QPoint b)
{
    return QRect(QPoint(qMin(a.x(), b.x()), qMin(a.y(), b.y())), QPoint(qMax(a.x(), b.x()), qMax(a.y(), b.y())));
}

// A retained picture and the state it is drawn with, and no widget: it is
// drawn on and read back without a display. Coordinates are design pixels
// (origin top-left, y downwards), rounded to whole pixels; the image holds
// `ratio` device pixels per design pixel, so lines and text stay sharp on
// scaled screens. All drawing is aliased: boundary fills need exact colours,
// and drawing a line or text again in the background colour must restore
// the picture exactly.
class Canvas
{
public:
    enum class FillStyle { Solid, Transparent };

    // `size` in design pixels; `ratio` device pixels per design pixel.
    Canvas(QSize size, QColor background, qreal ratio);

    QSize size() const { return m_size; }
    QRect rect() const { return QRect(QPoint(), m_size); }
    qreal ratio() const { return m_ratio; }
    // Takes another ratio and draws what was drawn since the last clear
    // again at it, as if it had been drawn there from the start (the rest
    // of the state stays). False, and the old ratio kept, where that
    // drawing was too long to remember (see keptDrawing).
    bool setRatio(qreal ratio);
    // Nothing drawn since it was made or last cleared: all background.
    bool isBlank() const { return m_drawnOn.isEmpty(); }

    QColor backColor() const { return m_back; }
    // Every pixel of one change's `from` colour takes its `to`, in one pass
    // (one change's `to` may be another's `from`); the background colour
    // follows its change. The picture stays as drawn, in the new colours.
    struct ColourChange
    {
        QColor from;
        QColor to;
    };
    void recolour(const std::vector<ColourChange> &changes);
    QColor foreColor() const { return m_fore; } // pen and text colour
    void setForeColor(QColor colour) { m_fore = colour; }
    int drawWidth() const { return m_drawWidth; }
    void setDrawWidth(int pixels) { m_drawWidth = pixels; }
    void setFillStyle(FillStyle style) { m_fillStyle = style; }
    void setFillColor(QColor colour) { m_fillColor = colour; }
    void setFont(const QFont &font);
    QFont font() const { return m_font; }
    QPointF currentPos() const { return m_current; }
    void setCurrentPos(QPointF pos) { m_current = pos; }

    // Clears the picture to the background colour.
    void cls();
    // A line in the foreground colour or in `colour`, drawWidth pixels thick.
    // The end point becomes the current position for lineTo().
    void line(QPointF from, QPointF to) { strokeLine(from, to, m_fore); }
    void line(QPointF from, QPointF to, QColor colour) { strokeLine(from, to, colour); }
    // A line in the foreground colour from the end of the previous line.
    void lineTo(QPointF to) { strokeLine(m_current, to, m_fore); }
    // Writes `text` and one blank at the current position (its top-left),
    // in the foreground colour with a transparent background.
    void print(const QString &text);
    // The pixels print() would touch writing `text` at `at`.
    QRect printExtent(const QString &text, QPointF at);
    // Boundary flood fill with the fill colour from `seed` up to pixels of
    // `border`; does nothing while the fill style is transparent.
    bool floodFillBorder(QPointF seed, QColor border);

    // Read-back: the colour at a design pixel, and the whole picture. An
    // image not made yet is made on the spot, all background.
    QColor pixel(int x, int y) const;
    const QImage &image() const;
    // The picture is not held yet: nothing was ever drawn on it.
    bool isUnmade() const { return m_image.isNull(); }

    // Told of every change: the design pixels that may have changed, and
    // whether it was a clear (the area then is all that was drawn before).
    using Changed = std::function<void(QRect area, bool cleared)>;
    void onChanged(Changed tell) { m_tell = std::move(tell); }

    // The first device pixel of design pixel k, and the device pixels of a
    // design area; the design pixels that cover a device area.
    int toDevice(int k) const { return qRound(k * m_ratio); }
    QRect toDevice(QRect area) const;
    QRect toDesign(QRect device) const;

private:
    // The image, made on first use, all background, so a panel that is
    // never drawn on holds none.
    QImage &pixels();
    void stampScaled(QRect reach, const std::function<void(QPainter &)> &draw, const QPen &pen);
    void strokeLine(QPointF from, QPointF to, QColor colour);
    // Writes `value` into the device blocks of a design area (clipped to
    // the image); says whether any pixel changed.
    bool fillBlocks(QRect area, QRgb value);
    void fillBand(QRect band, QColor colour);
    void fillDiagonal(QPoint a, QPoint b, int w, QColor colour);
    // What print() needs to know of a text in the font, besides the
    // glyphs: the pixels it may touch from its top-left (design pixels),
    // how far it moves the current position, and its baseline's depth.
    struct TextMeasure {
        QRectF reach;
        qreal advance;
        qreal ascent;
    };
    const TextMeasure &measured(const QString &text);
    // Remembers a changed area as drawn on and tells of it.
    void changed(QRect area);

    // What was drawn since the last clear, each with the state it was drawn
    // in (design pixels), to be drawn again at another ratio.
    struct LineDrawn {
        QPointF from, to;
        QColor colour;
        int width;
    };
    struct TextDrawn {
        QString text;
        QPointF at;
        QColor colour;
        QFont font;
    };
    struct FillDrawn {
        QPointF seed;
        QColor border, fill;
    };
    struct RecolourDrawn {
        std::vector<ColourChange> changes;
    };
    using Drawn = std::variant<LineDrawn, TextDrawn, FillDrawn, RecolourDrawn>;
    // A full graph or table is a few hundred of them, and a lesson clears
    // its panels long before this many; a picture drawn on for longer keeps
    // its ratio instead, until its next clear (about 300 KB at most).
    static constexpr std::size_t keptDrawing = 3000;
    void remember(Drawn drawn);
    void drawAgain();

    QSize m_size;
    qreal m_ratio;
    mutable QImage m_image; // null until first needed
    QColor m_back;
    QColor m_fore{Qt::black};
    QColor m_fillColor{Qt::black};
    FillStyle m_fillStyle = FillStyle::Transparent;
    int m_drawWidth = 1;
    QFont m_font;
    QHash<QString, TextMeasure> m_measures; // in m_font, by text
    QPointF m_current;
    FloodFiller m_filler;
    // Where anything was drawn since the last clear: the rest of the image
    // holds the background, and a clear touches only this.
    QRect m_drawnOn;
    Changed m_tell;
    std::vector<Drawn> m_drawn;  // since the last clear, in order
    bool m_drawnForgotten = false; // more than keptDrawing since the last clear
    QColor m_backAtClear;          // the background the drawing starts from
    bool m_drawingAgain = false;
};

} // namespace ui
