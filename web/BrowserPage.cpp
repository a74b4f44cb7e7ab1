#include "BrowserPage.h"
#include "LessonVoice.h"
#include "PageControls.h"
#include "PageInput.h"
#include "ContrastView.h"
#include "SharedFigure.h"

#include "QtWasmPrivate.h"

#include "app/Form1.h"
#include "app/WindowSizes.h"
#include "ui/Fonts.h"

#include <QBackingStore>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QCoreApplication>
#include <QEvent>
#include <QFont>
#include <QFontDatabase>
#include <QPaintEvent>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <emscripten/bind.h>
#include <emscripten/emscripten.h>
#include <emscripten/val.h>

#include <cstdio>
#include <string>

namespace browser {
namespace {

using emscripten::val;

// The page's side: the object page.js puts on `window` before the program
// starts. Without it (the program loaded by another page) nothing is told.
// It is looked up once: each lookup is a call into the browser, and the
// read-out tells the page its x at every step.
val pageObject()
{
    static val page = val::undefined();
    if (page.isUndefined()) {
        val found = val::global("kansuPage");
        if (!found.isUndefined() && !found.isNull())
            page = found;
    }
    return page;
}

// A pointer's event is being handled, and what it changes is painted
// straight after it (pointerFromPage).
bool paintFollowsPointer = false;

// Watches the window for the page: its size, its caption and the end.
class PageLink : public QObject
{
public:
    explicit PageLink(QWidget &window) : QObject(&window), m_window(&window)
    {
        window.installEventFilter(this);
        qApp->installEventFilter(this);
        if (auto *form = qobject_cast<Form1 *>(&window))
            watchLesson(*form);
    }

    // Asks the page to fit the window's client size to the browser window;
    // the page answers with the scale it shows it at, which becomes the
    // screen's scale factor so the window is drawn, not stretched, at it
    // (shown at fewer device pixels than it has, it is drawn one device
    // pixel per lesson pixel and the browser shrinks it: see page.js).
    // Nothing is done when neither the client size nor the browser window
    // nor its pixel ratio has changed since the last fit: the window's own
    // resize at a new scale (its size rounded through the screen's pixels,
    // a pixel more or less) must not start another fit, or fits would
    // follow one another for ever.
    void refit()
    {
        val page = pageObject();
        if (!m_window || page.isUndefined())
            return;
        const QSize client = clientSize();
        val browserWindow = val::global("window");
        // The browser's own pixel ratio, from the page: the window's
        // devicePixelRatio answers the toolkit with the ratio the page has
        // the program draw at, which each fit may change.
        const Fit fit{client, browserWindow["innerWidth"].as<int>(), browserWindow["innerHeight"].as<int>(),
                      page.call<double>("pixelRatio")};
        if (m_fitted && fit == m_lastFit) {
            placeWindow(client);
            return;
        }
        m_lastFit = fit;
        const double scale = page.call<double>("fit", client.width(), client.height());
        applyScale(scale, client);
    }

    QWidget *window() const { return m_window; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            handOverPainted(watched, static_cast<QPaintEvent *>(event)->region());
        if (watched == qApp && event->type() == QEvent::Quit) {
            // The program has ended (終了): the page takes its place.
            val page = pageObject();
            if (!page.isUndefined())
                page.call<void>("ended");
        } else if (watched == m_window) {
            switch (event->type()) {
            case QEvent::WindowStateChange:
                // The full-screen state is the page's own (placeWindow):
                // the lesson never sees it, or it would give it up as it
                // gives up a window manager's.
                return true;
            case QEvent::Paint:
                // Told once the window has been painted at the page's scale
                // and handed to the compositor (after this event).
                if (m_fitted && !m_firstPaintTold) {
                    m_firstPaintTold = true;
                    QTimer::singleShot(0, this, [] { tellPage("painted"); });
                }
                break;
            case QEvent::Resize:
            case QEvent::Show:
                // Refitted once the toolkit has finished with the change.
                scheduleRefit();
                break;
            case QEvent::WindowTitleChange: {
                val page = pageObject();
                if (!page.isUndefined())
                    page.call<void>("setTitle", m_window->windowTitle().toStdString());
                break;
            }
            default:
                break;
            }
        }
        return false;
    }

private:
    // A widget about to paint `region` (its own pixels): the part of the
    // window's picture that the canvas is given afresh at the next frame
    // reaches a lesson pixel further on every side. The toolkit rounds the
    // painting to the canvas's pixels in one step and the part it hands
    // over in two (to the screen's scale, then to the browser's pixel
    // ratio); at a fractional scale the painting may then cover a column
    // or row of pixels just outside the part handed over, and the canvas
    // would go on showing what was there before (a line that has moved
    // on, say) until something else there is painted. At one canvas pixel
    // per CSS pixel the second step changes nothing, and nothing more is
    // handed over: every frame's hand-over costs time on a slow processor.
    void handOverPainted(QObject *watched, const QRegion &region)
    {
        if (!m_widenPainted)
            return;
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!m_window || !widget || widget->window() != m_window || !m_window->backingStore())
            return;
        const QPoint offset = widget->mapTo(m_window.data(), QPoint(0, 0));
        QRegion wider;
        for (const QRect &part : region)
            wider += part.translated(offset).adjusted(-1, -1, 1, 1);
        m_window->backingStore()->flush(wider & m_window->rect());
    }

    static void tellPage(const char *what)
    {
        val page = pageObject();
        if (!page.isUndefined())
            page.call<void>(what);
    }

    // The page tells the document around it what x the read-out shows
    // (" 0.0" ... " 10.0"), as it changes. A build for make bench-web
    // (KANSU_WEB_STEP_TIMING) also tells how long the latest 出す took in
    // the program: from the button's release to the end of the handlers of
    // its click, that is the forward step with the painting into the
    // board's, the graph's and the table's canvases, not the frame that
    // later shows them.
    void watchLesson(Form1 &form)
    {
        auto tellDistance = [](const QString &text) {
            val page = pageObject();
            if (!page.isUndefined())
                page.call<void>("distance", text.toStdString());
        };
        tellDistance(form.controls().Text1->text()); // the start-up's, written before the page was told anything
        connect(&form, &Form1::distanceChanged, this, tellDistance);
        connect(&form, &Form1::distanceChanged, this, &PageLink::paintAtTaskEnd);
        shareFigure(form); // before the first frame: the address's figure, then the figure as it changes
        offerContrastView(form); // the view the page remembers, then its button's
#ifdef KANSU_WEB_STEP_TIMING
        // The form's own handler was connected first, so it runs before
        // the second slot on `clicked`.
        connect(form.controls().susumu, &QAbstractButton::released, this, [this] { m_stepClock.start(); });
        connect(form.controls().susumu, &QAbstractButton::clicked, this, [this] {
            if (!m_stepClock.isValid())
                return;
            const double ms = double(m_stepClock.nsecsElapsed()) / 1e6;
            m_stepClock.invalidate();
            val page = pageObject();
            if (!page.isUndefined())
                page.call<void>("stepTimed", ms);
        });
#endif
    }

public:
    // A step of P (a run's, a button's, a key's) is painted at the end of
    // the task that made it rather than in a task of its own. The page's
    // own elements (the read-out, the table) change in the step's task;
    // painted later, the program's picture would reach the canvas a frame
    // after them, and the browser would lay out, paint and hand over the
    // page twice a step, which on a slow processor costs the run its pace.
    void paintAtTaskEnd()
    {
        if (m_paintQueued || paintFollowsPointer)
            return;
        const val paint = val::module_property("kansuPaintNow");
        if (paint.isUndefined())
            return;
        m_paintQueued = true;
        val::global("queueMicrotask")(paint);
    }

    void paintNow()
    {
        m_paintQueued = false;
        if (m_window)
            QCoreApplication::sendPostedEvents(m_window.data(), QEvent::UpdateRequest);
    }

private:
    void scheduleRefit()
    {
        if (m_refitPending)
            return;
        m_refitPending = true;
        QTimer::singleShot(0, this, [this] {
            m_refitPending = false;
            refit();
        });
    }

    // The client size the lesson asks for (in its pixels): the lesson's
    // window keeps its design sizes, whatever a scale's rounding made of
    // its size on the way through the screen's pixels.
    QSize clientSize() const
    {
        if (auto *form = qobject_cast<const Form1 *>(m_window.data()))
            return app::clientSizeFromOuterTwips(form->outerWidthTwips(), form->outerHeightTwips());
        return m_window->size();
    }

    void applyScale(double scale, QSize client)
    {
        if (!(scale > 0))
            return;
        QScreen *screen = m_window->screen();
        if (!screen)
            return;
        qtprivate::setScreenScale(*screen, scale);
        // A finger's reach on P is counted in the page's CSS pixels.
        if (auto *form = qobject_cast<Form1 *>(m_window.data()))
            form->setPageScale(scale);
        placeWindow(client);
        qtprivate::flushWindowSystemEvents();
        if (QWindow *handle = m_window->windowHandle())
            m_widenPainted = qtprivate::platformPixelRatio(*handle) != 1.0;
        // Its backing store is made again at the new resolution (the same
        // size in the lesson's pixels raises no resize of its own), and the
        // whole window painted into it.
        if (QBackingStore *store = m_window->backingStore())
            store->resize(client);
        // A new backing store starts out undefined: every widget paints
        // its part again, also those the toolkit takes for unchanged.
        m_window->update();
        for (QWidget *child : m_window->findChildren<QWidget *>())
            child->update();
        m_fitted = true;
    }

    // The window keeps its size in the lesson's pixels and sits at the
    // canvas's top left, given again at each fit so that it takes the new
    // scale. Its platform state is full screen all the same: the page is
    // the frame, and a window in any other state has the toolkit paint a
    // frame under it, a picture the size of the whole window, and hand it
    // to the canvas at every frame, which on a slow processor costs the
    // automatic run its pace. The platform puts a full-screen window at
    // the screen's size whenever the screen changes; it is put back here.
    void placeWindow(QSize client)
    {
        QWindow *handle = m_window->windowHandle();
        QScreen *screen = m_window->screen();
        if (!handle || !screen)
            return;
        if (!(handle->windowStates() & Qt::WindowFullScreen))
            handle->setWindowStates(Qt::WindowFullScreen);
        qtprivate::placeWindow(*handle, QRect(screen->geometry().topLeft(), client));
    }

    struct Fit {
        QSize client;
        int innerWidth;
        int innerHeight;
        double pixelRatio;
        bool operator==(const Fit &) const = default;
    };

    QPointer<QWidget> m_window;
    Fit m_lastFit{};
    bool m_refitPending = false;
    bool m_widenPainted = false;    // the canvas's pixels are not CSS pixels (handOverPainted)
    bool m_fitted = false;          // drawn at a scale the page has chosen
    bool m_firstPaintTold = false;
    bool m_paintQueued = false;     // paintNow is due at the end of this task
#ifdef KANSU_WEB_STEP_TIMING
    QElapsedTimer m_stepClock;      // runs during one click of 出す
#endif
};

QPointer<PageLink> theLink;

// The mouse, passed on by the page. The platform's own handling of it
// compares points in the canvas's pixels with the window's place in the
// lesson's pixels, and so drops every click beyond the first 1/scale of the
// window once the window is drawn at a scale; here both are the canvas's
// pixels, which the toolkit turns into the lesson's. `x` and `y` are CSS
// pixels from the canvas's top left; `buttons` is the DOM's bit set (1 left,
// 2 right, 4 middle) after the event, `button` the DOM's number of the
// button that changed (0 left, 1 middle, 2 right; -1 none); `pen` is true
// for a pen's pointer, false for the mouse's.
Qt::MouseButton qtButton(int button)
{
    switch (button) {
    case 0: return Qt::LeftButton;
    case 1: return Qt::MiddleButton;
    case 2: return Qt::RightButton;
    default: return Qt::NoButton;
    }
}

bool pointerFromPage(std::string kind, double x, double y, int buttons, int button, int modifiers, bool pen)
{
    if (!theLink || !theLink->window())
        return false;
    QWindow *window = theLink->window()->windowHandle();
    if (!window)
        return false;
    QEvent::Type type;
    if (kind == "down")
        type = QEvent::MouseButtonPress;
    else if (kind == "up")
        type = QEvent::MouseButtonRelease;
    else if (kind == "move")
        type = QEvent::MouseMove;
    else
        return false;
    Qt::MouseButtons held;
    if (buttons & 1) held |= Qt::LeftButton;
    if (buttons & 2) held |= Qt::RightButton;
    if (buttons & 4) held |= Qt::MiddleButton;
    paintFollowsPointer = true;
    const bool used = qtprivate::sendMouse(*window, type, x, y, held,
                                           type == QEvent::MouseMove ? Qt::NoButton : qtButton(button),
                                           modifiersFromPage(modifiers), pen);
    paintFollowsPointer = false;
    // What the event changed (a piece or P dragged) is painted now rather
    // than in a task of its own: the browser hands a move over just before
    // the animation frame, which then shows it, where a later task would
    // wait for the frame after.
    QCoreApplication::sendPostedEvents(theLink->window(), QEvent::UpdateRequest);
    return used;
}

void paintNowFromPage()
{
    if (theLink)
        theLink->paintNow();
}

// Called by the page when the browser window changes size.
void refitFromPage()
{
    if (theLink)
        theLink->refit();
}

} // namespace

void registerBundledFace()
{
    const int id = QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/face.ttf"));
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty()) {
        std::fprintf(stderr, "the bundled face could not be loaded; captions show as boxes\n");
        return;
    }
    // The bundled face may be a subset under a name of its own; the design's
    // face name then stands for it.
    const QString designFace = ui::defaultFont().family();
    if (!families.contains(designFace, Qt::CaseInsensitive))
        QFont::insertSubstitution(designFace, families.first());
}

void attachToPage(QWidget &window)
{
    // The page is the frame: no title bar of the toolkit's own.
    // (Without the customising hint the toolkit adds the title bar's hints
    // again, and the browser's platform draws a title bar after them.)
    window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::FramelessWindowHint);
    theLink = new PageLink(window);
    if (auto *form = qobject_cast<Form1 *>(&window)) {
        bindControlsToPage(*form);
        speakForLesson(*form);
    }
    val page = pageObject();
    if (!page.isUndefined())
        page.call<void>("setTitle", window.windowTitle().toStdString());
}

} // namespace browser

EMSCRIPTEN_BINDINGS(kansu_page)
{
    emscripten::function("kansuRefit", &browser::refitFromPage);
    emscripten::function("kansuPointer", &browser::pointerFromPage);
    emscripten::function("kansuPaintNow", &browser::paintNowFromPage);
}
