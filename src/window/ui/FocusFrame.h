#pragma once

#include <QColor>
#include <QWidget>

namespace ui {

// A frame around a widget that shows where the keyboard is: it stands while
// the widget has the focus and the keyboard is in use there (the focus came
// by Tab, Shift+Tab or a shortcut, or a key was pressed in the widget since),
// not after a click or a tap, as a browser shows a focus ring. It is a
// widget of its own beside its target, `gap` pixels outside the target's
// edges and `width` pixels wide, so it never paints the target's pixels;
// everywhere else it is see-through and lets the mouse pass.
class FocusFrame : public QWidget
{
    Q_OBJECT
public:
    FocusFrame(QWidget *target, QColor colour, int width, int gap);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void follow(); // place and show or hide the frame

    QWidget *m_target;
    QColor m_colour;
    int m_width;
    int m_gap;
    bool m_byKeyboard = false; // the latest way into the target was the keyboard
};

} // namespace ui
