#pragma once

// A random pupil at the lesson window. It plays long sequences of actions
// through real widget events: clicks on the buttons (disabled ones included),
// clicks on the check boxes, drags on the board, typing into the speed box,
// automatic runs during whose waits further actions fire from timers, and the
// closing of the window. After every action, and after every step of a run,
// it checks the scene against rules that hold whatever the order of the
// actions, and after some actions what that action must have done. The first
// broken rule ends the sequence (paint outside the envelope's band is only
// noted); the caller reports it with the seed and the tail of the action log.

#include "app/Scene.h"
#include "board/Geometry.h"

#include <QImage>
#include <QPoint>
#include <QString>

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <random>
#include <utility>
#include <vector>

class Form1;
struct Form1Controls;
class QObject;
class QPushButton;

namespace pupil {

// What the pupil has done so far, over all seeds.
struct Tally {
    qint64 seeds = 0;
    qint64 actions = 0;        // actions played, those fired from timers included
    qint64 timedActions = 0;   // of those, fired from a timer during a run's wait
    qint64 sweeps = 0;         // passes over the scene rules (after every action and run step)
    qint64 checks = 0;         // single rules checked within those passes
    qint64 runs = 0;           // automatic runs started
    qint64 disabledClicks = 0; // clicks on disabled buttons, each checked to change nothing
    qint64 drags = 0;          // press-move-release sequences on the board
    qint64 closes = 0;         // windows closed (one per seed, sooner or later)
    qint64 earlyCloses = 0;    // of those, closed part-way through the sequence
};

class PupilDriver
{
public:
    PupilDriver(Form1 &form, std::uint32_t seed, Tally &tally);

    // Plays up to `count` actions, then closes the window if no action did.
    // Returns the broken rules with the actions that led to them, or an
    // empty text. A broken rule about the scene ends the sequence; paint
    // found outside the envelope's band is reported once and play goes on,
    // since it changes nothing the later actions depend on.
    QString play(qint64 count);

private:
    // ---- randomness ---------------------------------------------------------
    int uniform(int lo, int hi);
    bool chance(double p);
    template <std::size_t N>
    int weighted(const std::array<double, N> &weights);

    // ---- log and faults -------------------------------------------------------
    bool ok() const;
    void log(const QString &what);
    QString logTail() const;
    QString faultText(const QString &what) const;
    void fail(const QString &what);
    void expect(bool holds, const QString &what);

    // ---- the scene rules -------------------------------------------------------
    double x() const;
    void checkScene(const char *when);
    bool templatesHome() const;
    void checkBoardOutsideBand(const QString &where);
    static bool wholeColumn(double x);
    void checkWrittenColumn(const char *when);
    void checkTableRestored();
    QString buttonText() const;
    static QString figureText(const board::Slots &codes);

    // ---- what a click on a disabled button must leave alone -----------------
    struct Snapshot;
    Snapshot snapshot() const;

    // ---- actions ----------------------------------------------------------------
    enum Action {
        StepOut, StepBack, BackToStart, InitialScreen, Stop, AutoRun, CheckBox, Drag,
        TypeSpeed, TypeReadOut
    };
    void playOne();
    void clickButton(QPushButton *button, const char *name);
    void clickCheckBox();

    // ---- the board: press, move, release -----------------------------------------
    QPoint pressPoint();
    QPoint releasePoint();
    QPoint slotPoint();
    QPoint anyPoint();
    Qt::MouseButton anyMouseButton();
    std::optional<std::pair<int, std::optional<int>>> liftAt(QPoint p) const;
    static std::optional<int> slotUnder(QPoint p);
    static board::Slots slotsAfterRelease(board::Slots s, int held, std::optional<int> from, QPoint p);
    static QString pointText(QPoint p);
    void drag();

    // ---- typing -----------------------------------------------------------------
    QString hostileText();
    void typeSpeed();
    void typeIntoReadOut();

    // ---- the automatic run and what happens during its waits ----------------------
    struct RunWatch;
    void autoRun();
    enum TimedAction {
        TimedStop, TimedBackToStart, TimedDrag, TimedPress, TimedCheckBox, TimedSpeed,
        TimedDisabledClick, TimedSecondRun, TimedChain
    };
    void scheduleTimed(QObject *scope, int delayMs, RunWatch &watch);
    void playTimed(QObject *scope, RunWatch &watch);
    void releaseHeldButton();

    // ---- the end --------------------------------------------------------------------
    void closeWindow(RunWatch *run = nullptr);

    Form1 &m_form;
    const Form1Controls &m_controls; // m_form's controls and scene
    const Scene &m_scene;
    std::mt19937 m_rng;
    Tally &m_tally;
    std::vector<QRgb> m_green;
    std::deque<QString> m_log;
    QString m_fault;
    QString m_paintFault;
    std::vector<QImage> m_tableBeforeStep; // the table before each 出す since it last started afresh
    qint64 m_played = 0; // actions of this sequence, for the log
    double m_closeChance = 0;
    int m_depth = 0;
    bool m_buttonHeld = false;
    Qt::MouseButton m_heldButton = Qt::LeftButton;
};

} // namespace pupil
