// The window keeps the lesson's sizes in every window state. The compact
// window shows the board and the buttons only; the graph, the cover's check
// box and the table come into view only through グラフ and 表. A window
// manager that maximises the window or makes it fill the screen would bring
// them into view with neither box checked, so such a state is given up at
// once and the window returns to the size the check boxes call for.
// Minimising is left alone: it shows nothing that should stay hidden.
#include "app/Form1.h"

#include "app/WindowSizes.h"

#include <QEvent>

void Form1::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    constexpr Qt::WindowStates enlarging = Qt::WindowMaximized | Qt::WindowFullScreen;
    const Qt::WindowStates states = windowState();
    if (!(states & enlarging))
        return;
    setWindowState(states & ~enlarging);
    // Most window managers put back the size from before the state; this
    // covers those that do not.
    setOuterSizeTwips(outerWidthTwips(), outerHeightTwips());
}

void Form1::setOuterSizeTwips(int widthTwips, int heightTwips)
{
    m_outerWidthTwips = widthTwips;
    m_outerHeightTwips = heightTwips;
    // The pupil cannot resize the window: the graph and the table come into
    // view only through グラフ and 表.
    setFixedSize(app::clientSizeFromOuterTwips(widthTwips, heightTwips));
}
