#include "FocusFrame.h"

#include <QFocusEvent>
#include <QPainter>

namespace ui {

FocusFrame::FocusFrame(QWidget *target, QColor colour, int width, int gap)
    : QWidget(target->parentWidget()), m_target(target), m_colour(colour), m_width(width), m_gap(gap)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    target->installEventFilter(this);
    follow();
}

bool FocusFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_target)
        return false;
    switch (event->type()) {
    case QEvent::FocusIn:
        switch (static_cast<QFocusEvent *>(event)->reason()) {
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
        case Qt::ShortcutFocusReason: m_byKeyboard = true; break;
        case Qt::MouseFocusReason: m_byKeyboard = false; break;
        default: break; // the window came back, or the program moved it: as before
        }
        break;
    case QEvent::KeyPress: m_byKeyboard = true; break;
    case QEvent::MouseButtonPress:
    case QEvent::TouchBegin: m_byKeyboard = false; break;
    case QEvent::FocusOut:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide: break;
    default: return false;
    }
    follow();
    return false;
}

void FocusFrame::follow()
{
    const int reach = m_gap + m_width;
    setGeometry(m_target->geometry().adjusted(-reach, -reach, reach, reach));
    const QRegion outside(rect());
    setMask(outside.subtracted(QRegion(rect().adjusted(m_width, m_width, -m_width, -m_width))));
    const bool shown = m_byKeyboard && m_target->isVisible() && m_target->hasFocus();
    if (shown && isHidden())
        raise();
    setVisible(shown);
}

void FocusFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_colour);
}

} // namespace ui
