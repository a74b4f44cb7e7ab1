#pragma once

#include <QImage>
#include <QProxyStyle>

namespace ui {

// The application's style for a text box whose text changes often (the x
// read-out during an automatic run): every new text repaints the whole box,
// and drawing its sunken frame costs far more than its text. The style
// draws the box's panel (frame and base) once into an image and copies it
// from there while nothing about it changes. Everything else, and a panel
// that does not fall on whole device pixels, is drawn by the application's
// style as it is.
class FramedPanelStyle : public QProxyStyle
{
public:
    // Draws with a style of the application's kind, made for this proxy.
    FramedPanelStyle();
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;

private:
    // What the kept panel was drawn for.
    struct PanelKey {
        QSize size;
        int lineWidth = -1;
        int state = 0;
        qint64 palette = 0;
        qreal scale = 0;
        bool operator==(const PanelKey &) const = default;
    };
    mutable PanelKey m_key;
    mutable QImage m_panel; // device pixels
};

} // namespace ui
