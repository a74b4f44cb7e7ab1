// Building with a finger or a pen, as pupils and teachers do on a touch
// board: every template into every slot by touch, and each template by pen
// or by two taps, gives the same slots and board pixels as the same drag with
// the mouse; a pen's tap presses a button; a second finger changes nothing; a
// touch the system takes back leaves the templates home and the figure as
// it was.
#include "TestSupport.h"

#include <QPointingDevice>
#include <QPushButton>
#include <QtTest>
#include <qpa/qwindowsysteminterface.h>
#include <qpa/qwindowsysteminterface_p.h>

#include <memory>

namespace {

using Slots = board::Slots;

// Board pixels: a point of each template in the tray, the slots' centres
// over the envelope.
constexpr int trayY = 100, insideY = 240;
constexpr std::array<int, 4> trayX = {320, 370, 420, 540}; // square, 2x4, 2x6, triangle
int slotX(int slot) { return 320 + 40 * slot; }

// The drag's way: its start, two points on the way, its end.
std::vector<QPoint> way(QPoint from, QPoint to)
{
    return {from, from + (to - from) / 3, from + (to - from) * 2 / 3, to};
}

struct Board {
    Slots figure;
    QImage canvas;
};

enum class Input { Finger, Pen, Taps };

} // namespace

Q_DECLARE_METATYPE(Input)

class TouchTest : public QObject
{
    Q_OBJECT
    QPointingDevice *screen = nullptr;
    QPointingDevice *pen = nullptr;

    std::unique_ptr<Form1> open()
    {
        auto f = std::make_unique<Form1>();
        f->show();
        if (!QTest::qWaitForWindowExposed(f.get(), testsupport::patienceMs))
            return nullptr;
        return f;
    }

    // Window coordinates of a board pixel.
    static QPoint onWindow(Form1 &f, QPoint board) { return f.controls().kokuban->mapTo(&f, board); }

    void mouseDrag(Form1 &f, const std::vector<QPoint> &points)
    {
        QTest::mousePress(f.controls().kokuban, Qt::LeftButton, {}, points.front());
        for (std::size_t i = 1; i < points.size(); ++i)
            QTest::mouseMove(f.controls().kokuban, points[i]);
        QTest::mouseRelease(f.controls().kokuban, Qt::LeftButton, {}, points.back());
    }

    void touchDrag(Form1 &f, const std::vector<QPoint> &points)
    {
        QWindow *window = f.windowHandle();
        QTest::touchEvent(window, screen).press(0, onWindow(f, points.front()), window);
        for (std::size_t i = 1; i < points.size(); ++i)
            QTest::touchEvent(window, screen).move(0, onWindow(f, points[i]), window);
        QTest::touchEvent(window, screen).release(0, onWindow(f, points.back()), window);
    }

    // A pen's stroke as the window system reports it: the tip down on the
    // first point, moving, lifted on the last. Nothing of the lesson takes
    // tablet events, so the toolkit turns them into the mouse.
    void penStroke(QWidget *widget, const std::vector<QPoint> &points)
    {
        QWindow *window = widget->window()->windowHandle();
        auto report = [&](QPoint at, Qt::MouseButtons tip) {
            const QPointF local = widget->mapTo(widget->window(), QPointF(at));
            QWindowSystemInterface::handleTabletEvent(window, ulong(QDateTime::currentMSecsSinceEpoch()), pen,
                                                      local, window->mapToGlobal(local), tip, tip ? 0.5 : 0.0,
                                                      0, 0, 0, 0, 0);
            QWindowSystemInterface::flushWindowSystemEvents();
        };
        report(points.front(), Qt::LeftButton);
        for (std::size_t i = 1; i < points.size(); ++i)
            report(points[i], Qt::LeftButton);
        report(points.back(), Qt::NoButton);
    }

private slots:
    void initTestCase()
    {
        testsupport::setUpTestApplication();
        screen = QTest::createTouchDevice();
        pen = new QPointingDevice(QStringLiteral("pen"), 2, QInputDevice::DeviceType::Stylus,
                                  QPointingDevice::PointerType::Pen,
                                  QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1, 2);
        QWindowSystemInterface::registerInputDevice(pen);
        // As on X11, whose platform reports a pen as a tablet only and
        // leaves its mouse to the toolkit.
        QWindowSystemInterfacePrivate::TabletEvent::setPlatformSynthesizesMouse(false);
    }

    void fingerBuildsAsTheMouse_data()
    {
        QTest::addColumn<Input>("input");
        QTest::addColumn<int>("kind"); // 0 square, 1 2x4, 2 2x6, 3 triangle
        QTest::addColumn<int>("slot");
        const char *kinds[] = {"square", "2x4", "2x6", "triangle"};
        for (int kind = 0; kind < 4; ++kind)
            for (int slot = 0; slot < 5; ++slot)
                QTest::addRow("%s into slot %d", kinds[kind], slot) << Input::Finger << kind << slot;
        for (int kind = 0; kind < 4; ++kind)
            QTest::addRow("pen: %s into slot 1", kinds[kind]) << Input::Pen << kind << 1;
        for (int kind : {0, 3})
            QTest::addRow("taps: %s into slot 2", kinds[kind]) << Input::Taps << kind << 2;
    }

    void fingerBuildsAsTheMouse()
    {
        QFETCH(Input, input);
        QFETCH(int, kind);
        QFETCH(int, slot);
        const std::vector<QPoint> points =
            way(QPoint(trayX[std::size_t(kind)], trayY), QPoint(slotX(slot), insideY));
        Board byMouse, byTouch;
        {
            auto f = open();
            QVERIFY(f);
            mouseDrag(*f, points);
            byMouse = {f->scene().SlotPiece, f->controls().kokuban->canvas()};
        }
        {
            auto f = open();
            QVERIFY(f);
            if (input == Input::Pen)
                penStroke(f->controls().kokuban, points);
            else if (input == Input::Finger)
                touchDrag(*f, points);
            else { // a tap on the template, then one on the slot
                touchDrag(*f, {points.front()});
                touchDrag(*f, {points.back()});
            }
            byTouch = {f->scene().SlotPiece, f->controls().kokuban->canvas()};
            QCOMPARE(f->scene().DragPiece, 0);
        }
        if (kind < 3) // the triangle needs three free slots from where it is dropped
            QVERIFY(byMouse.figure != Slots{});
        QCOMPARE(byTouch.figure, byMouse.figure);
        QVERIFY(byTouch.canvas == byMouse.canvas);
    }

    // The pen's tap on 出す, and on 戻す, is the mouse's click.
    void penTapPressesAButton()
    {
        auto f = open();
        QVERIFY(f);
        const QPoint middle = f->controls().susumu->rect().center();
        penStroke(f->controls().susumu, {middle, middle});
        QCOMPARE(f->scene().Px, 290.0);
        penStroke(f->controls().modoru, {f->controls().modoru->rect().center(), f->controls().modoru->rect().center()});
        QCOMPARE(f->scene().Px, 300.0);
    }

    // A second finger that lands, moves and lifts while the first one
    // carries a piece is ignored: the first finger's drop decides.
    void secondFingerIsIgnored()
    {
        auto f = open();
        QVERIFY(f);
        QWindow *window = f->windowHandle();
        auto at = [&](int x, int y) { return onWindow(*f, QPoint(x, y)); };
        QTest::touchEvent(window, screen).press(0, at(trayX[0], trayY), window);
        QTest::touchEvent(window, screen).move(0, at(330, 200), window).press(1, at(540, trayY), window);
        QTest::touchEvent(window, screen).move(0, at(slotX(2), insideY), window).move(1, at(slotX(4), insideY), window);
        QTest::touchEvent(window, screen).stationary(0).release(1, at(slotX(4), insideY), window);
        QCOMPARE(f->scene().SlotPiece, Slots{}); // nothing dropped by the second finger
        QTest::touchEvent(window, screen).release(0, at(slotX(2), insideY), window);
        QCOMPARE(f->scene().SlotPiece, (Slots{0, 0, 1, 0, 0}));
    }

    // The system takes a touch back mid-drag: the held template goes home,
    // a piece lifted from a slot stays in it, and P does not move.
    void cancelledTouchPutsTheTemplateHome_data()
    {
        QTest::addColumn<bool>("fromSlot");
        QTest::newRow("from the tray") << false;
        QTest::newRow("from a slot") << true;
    }

    void cancelledTouchPutsTheTemplateHome()
    {
        QFETCH(bool, fromSlot);
        auto f = open();
        QVERIFY(f);
        mouseDrag(*f, way(QPoint(trayX[1], trayY), QPoint(slotX(1), insideY)));
        for (int i = 0; i < 3; ++i)
            f->susumu_Click();
        const Slots before = f->scene().SlotPiece;
        const double px = f->scene().Px;
        const QImage atRest = f->controls().kokuban->canvas();
        const QImage lookAtRest = f->controls().kokuban->grab().toImage();
        QWindow *window = f->windowHandle();
        // Slots are picked from where they lie with P at B.
        const QPoint start = fromSlot ? QPoint(slotX(1), insideY) : QPoint(trayX[0], trayY);
        QTest::touchEvent(window, screen).press(0, onWindow(*f, start), window);
        QTest::touchEvent(window, screen).move(0, onWindow(*f, QPoint(slotX(3), 200)), window);
        QVERIFY(f->scene().DragPiece != 0);
        QVERIFY(f->controls().kokuban->grab().toImage() != lookAtRest); // a template follows the finger
        // The system's cancel: a touch event of its own kind.
        QTouchEvent cancel(QEvent::TouchCancel, screen);
        QCoreApplication::sendEvent(f->controls().kokuban, &cancel);
        QCOMPARE(f->scene().DragPiece, 0);
        QCOMPARE(f->scene().SlotPiece, before);
        QCOMPARE(f->scene().Px, px);
        QVERIFY(f->controls().kokuban->canvas() == atRest);
        QVERIFY(f->controls().kokuban->grab().toImage() == lookAtRest); // every template home
        // The next touch builds as usual.
        touchDrag(*f, way(QPoint(trayX[0], trayY), QPoint(slotX(4), insideY)));
        QCOMPARE(f->scene().SlotPiece[4], 1);
    }
};

QTEST_MAIN(TouchTest)
#include "tst_touch.moc"
