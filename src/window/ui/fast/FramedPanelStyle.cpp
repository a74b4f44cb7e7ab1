#include "FramedPanelStyle.h"

#include <QApplication>
#include <QPaintEngine>
#include <QPainter>
#include <QStyleOptionFrame>

#include <cmath>

namespace ui {
namespace {

bool whole(qreal v) { return v == std::floor(v); }

} // namespace

FramedPanelStyle::FramedPanelStyle() : QProxyStyle(QApplication::style()->name()) {}

void FramedPanelStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                     const QWidget *widget) const
{
    const auto *panel = qstyleoption_cast<const QStyleOptionFrame *>(option);
    const QTransform toDevice = painter->deviceTransform();
    const qreal scale = toDevice.m11();
    // The ratio of the pixels painted on, read from them: a widget's own
    // answer asks its screen, which in the page is a call into the browser.
    const QPaintDevice *device = painter->paintEngine() ? painter->paintEngine()->paintDevice() : painter->device();
    // The copy is the same pixels as drawing only where the panel lies on
    // whole device pixels: an unrotated, evenly scaled painter that puts the
    // panel's corner and its size on whole pixels.
    // The style draws in device pixels, so the device must have as many of
    // them per pixel as the painter's scale says.
    const QRectF target = toDevice.mapRect(QRectF(panel ? panel->rect : QRect()));
    const bool copyable = element == PE_PanelLineEdit && panel && toDevice.type() <= QTransform::TxScale
                          && scale == toDevice.m22() && device && device->devicePixelRatio() == scale
                          && whole(target.x()) && whole(target.y()) && whole(target.width())
                          && whole(target.height()) && !target.isEmpty();
    if (!copyable) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const PanelKey key{panel->rect.size(), panel->lineWidth, int(panel->state), panel->palette.cacheKey(), scale};
    if (m_panel.isNull() || !(key == m_key)) {
        QImage image(target.size().toSize(), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::transparent);
        {
            QPainter imagePainter(&image);
            imagePainter.setRenderHints(painter->renderHints());
            QStyleOptionFrame atOrigin = *panel;
            atOrigin.rect.moveTo(0, 0);
            QProxyStyle::drawPrimitive(element, &atOrigin, &imagePainter, widget);
        }
        m_panel = image;
        m_key = key;
    }
    painter->drawImage(panel->rect.topLeft(), m_panel);
}

} // namespace ui
