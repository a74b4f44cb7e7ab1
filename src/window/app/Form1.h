#pragma once

#include "app/Scene.h"
#include "board/BoardPanel.h"
#include "board/SlotRules.h"
#include "graph/GraphPanel.h"
#include "table/TablePanel.h"
#include "ui/Surface.h"
#include "ui/Waiter.h"

#include <QWidget>

#include <map>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The lesson's controls under their design names: Form1's own, made and
// placed by app/Form1.cpp; the board's and the table's windowless controls
// are made by their panels, which move them. The surfaces' windowless
// controls are drawn above their canvases; the text box and check box on
// the board are real widgets.
struct Form1Controls : board::BoardControls, table::TablePanel::Controls
{
    // ---- Controls on the window ------------------------------------------
    QLabel *Label6 = nullptr; // "関数の利用"
    QLabel *Label3 = nullptr; // "速度"
    QLabel *Label8 = nullptr; // credit line
    QPushButton *Command1 = nullptr; // 初期画面
    QPushButton *end = nullptr;      // 終了
    QPushButton *jidou = nullptr;    // 自動
    QPushButton *tomeru = nullptr;   // ストップ
    QPushButton *susumu = nullptr;   // 出す
    QPushButton *modoru = nullptr;   // 戻す
    QPushButton *Command2 = nullptr; // 最初に
    QCheckBox *Check1 = nullptr;     // 方眼
    QCheckBox *Check2 = nullptr;     // グラフ
    QCheckBox *Check3 = nullptr;     // 表
    QCheckBox *Check5 = nullptr;     // 封筒をかくす
    QComboBox *Combo1 = nullptr;     // speed
    ui::Surface *kokuban = nullptr;  // the board
    ui::Surface *gamen = nullptr;    // the graph
    ui::Surface *hyo = nullptr;      // the table
    QWidget *Picture1 = nullptr;     // cover over the envelope

    // ---- Controls on the board ---------------------------------------------
    QLineEdit *Text1 = nullptr; // x read-out, the carrier of x (" 0.0" ... " 10.0")
    QCheckBox *Check4 = nullptr; // shows the red bar BP
};

// The lesson's one window. It owns every control (Form1Controls), the
// whole scene state (Scene), both inherited privately so that the handlers
// use the lesson's names as they stand, and the three panels: the board
// (kokuban), the graph (gamen) and the table (hyo). The pupil's actions
// arrive as its handlers, which change the scene, read x where the lesson
// carries it (the read-out's text) and hand numbers to the panels.
//
// Its handlers stand in app/, one file a part of the lesson:
//   Form1.cpp, keys.cpp, accessibility.cpp  controls, keys, names
//   startup.cpp, view_options.cpp, window_state.cpp  the window's life
//   stepping.cpp, read_out.cpp, auto_run.cpp, back_to_start.cpp  P's motion
//   building.cpp  building the figure by drag, click, tap and keys
//   moving_p.cpp  P taken by the pointer, on the board, the graph, the table
//
// Units: board, graph and table coordinates are their surfaces' pixels;
// on the board 20 px = 1 cm, A (300,180), B (300,300), C (500,300), D (500,180).
class Form1 : public QWidget, private Form1Controls, private Scene
{
    Q_OBJECT
public:
    // ---- The one way in for tests, benchmarks and the page ----------------
    // They read the scene and the controls here and drive the panels; the
    // lesson itself changes the scene only in its handlers. Tests and
    // benchmarks set a scene up through SceneSetUp (tests/TestSupport.h).
    const Scene &scene() const { return *this; }
    const Form1Controls &controls() const { return *this; }
    board::BoardPanel &board() { return *m_board; }
    const board::BoardPanel &board() const { return *m_board; }
    const graph::GraphPanel &graph() const { return *m_graph; }
    const table::TablePanel &table() const { return *m_table; }

    // ---- Handlers and procedures, by the file that defines them -----------
    // (the helpers each file keeps to itself follow under private:)

    // app/startup.cpp: the window made, its controls placed and its
    // handlers connected (app/Form1.cpp), then Form_Load.
    explicit Form1(QWidget *parent = nullptr);
    ~Form1() override;

    // app/window_state.cpp: the window's outer size in twips
    // (app/WindowSizes.h maps it to the client area).
    void setOuterSizeTwips(int widthTwips, int heightTwips);
    int outerWidthTwips() const { return m_outerWidthTwips; }
    int outerHeightTwips() const { return m_outerHeightTwips; }

    // app/startup.cpp: start-up, the initial screen, 初期画面, 終了.
    void Form_Load();
    void ShowInitialScreen();
    void Command1_Click(); // 初期画面
    void end_Click();      // 終了
    bool isEnding() const { return m_ending; }

    // app/view_options.cpp
    void Check1_Click(); // 方眼
    void Check2_Click(); // グラフ
    void Check3_Click(); // 表
    void Check5_Click(); // 封筒をかくす

    // The contrast view, off by default (the desktop's --contrast, the
    // page's button): the board's colours that carry meaning at 3:1
    // contrast or more (app::boardLook), switched at once, the picture as
    // it stands at P's offset.
    void setContrastView(bool on) { m_board->setContrastView(on); }
    bool contrastView() const { return m_board->isContrastView(); }

    // app/stepping.cpp: one step of P out or back.
    void susumu_Click(); // 出す
    void modoru_Click(); // 戻す
    // The graph's step to the x the read-out carries, y changing by what
    // the strips give that step; nothing while P stands beyond B.
    void PlotPoint(qint16 direction);

    // app/auto_run.cpp: the automatic run.
    void jidou_Click();  // 自動
    void tomeru_Click(); // ストップ
    // The automatic run's wait after a step, so that the next step comes ms
    // after this one began, the window handling its events meanwhile; the
    // run goes on when it is over. 0 or less waits for nothing and returns
    // false: the run goes on at once.
    bool WaitMs(int ms);
    bool isRunning() const { return m_running; }

    // app/back_to_start.cpp: 最初に, and the red bar BP shown or hidden.
    void Command2_Click(); // 最初に
    void Check4_Click();   // red bar
    // Out of view, the graph's empty frame and the table's x = 0 column
    // wait until the panel is first needed; this draws them. グラフ calls
    // it as it brings the graph into view (表 clears and writes the table
    // anew); a test calls it to read a panel out of view.
    void drawWaitingPanels();

    // app/building.cpp: building the figure with the mouse, a finger or a
    // pen. A click or a tap (a press and release that never moves as far
    // as a drag starts) chooses a piece; the next one puts it where a drop
    // there would (see board/ClickRules.h). With the board focused, the
    // keys "1" to "4" choose the tray's templates in tray order, then "1"
    // to "5" click slot 1 to 5 from side AB (main row or keypad); Escape
    // forgets the choice, or puts a dragged template home.
    void kokuban_MouseDown(int button, int shift, float X, float Y);
    void kokuban_MouseMove(int button, int shift, float X, float Y);
    void kokuban_MouseUp(int button, int shift, float X, float Y);
    void kokuban_TouchCancel();
    void kokuban_KeyDown(int keyCode, int shift);
    // The chosen piece as the slot codes write it (1 to 4 from the tray, a
    // slot's code 1 to 6 from the envelope), or 0 when none is chosen.
    int selectedPiece() const { return m_chosen ? m_chosen->piece : board::Empty; }
    // Puts `figure` into the envelope as the pupil's drags would: the slots
    // hold it, the outlines turn yellow, P goes back to B and the board is
    // redrawn. A figure the drags cannot make changes nothing and is
    // refused (false); the figure the envelope already holds needs no drag.
    bool buildFigure(const board::Slots &figure);

    // app/moving_p.cpp: P in the pupil's hands. A press on P (see
    // motion/PointerRules.h) and a move take it to the half centimetre
    // nearest the pointer (kokuban_MouseDown and the next handlers hand
    // it on); a press on the graph takes it to the x under the pointer, on
    // a column of the table to that column's x. Always through the steps
    // of 出す and 戻す; nothing while the automatic run goes on.
    void gamen_MouseDown(int button, int shift, float X, float Y);
    void hyo_MouseDown(int button, int shift, float X, float Y);
    // How many CSS pixels one of the window's pixels measures where a page
    // shows it (1 on the desktop): a finger's reach on P counts in them.
    void setPageScale(double cssPerPixel);

    // What the table shows, column by column (table/TablePanel.h).
    using TableEntry = table::TablePanel::Entry;
    const std::map<int, TableEntry> &tableEntries() const { return m_table->entries(); }

signals:
    // Emitted when the automatic run starts a wait between two steps.
    void waitStarted(int ms);
    // Emitted whenever the x read-out changes.
    void distanceChanged(const QString &text);
    // Emitted whenever the slot codes change, once the board shows them.
    void figureChanged();
    // Emitted as the automatic run starts and as it ends.
    void runningChanged(bool running);
    // Emitted whenever a column of the table is written or erased, or the
    // table is cleared (tableEntries).
    void tableChanged();
    // Emitted whenever a piece is chosen or the choice is dropped.
    void selectionChanged();
    // Emitted when the pupil has taken P to a place with the pointer (a
    // drag of P let go, a press on the graph or the table).
    void pPlaced();

protected:
    // app/startup.cpp: closing the window is 終了.
    void closeEvent(QCloseEvent *event) override;
    // app/window_state.cpp: no maximised or full-screen window.
    void changeEvent(QEvent *event) override;

private:
    friend struct SceneSetUp;

    // app/Form1.cpp: the controls at their design places, with captions,
    // colours, fonts, stacking and keyboard order; the handlers connected.
    void createWindowControls();
    void createBoardControls();
    void orderControls();
    void connectHandlers();
    // app/accessibility.cpp: names for assistive technology.
    void nameControls();
    void describeChoice(); // the board's description: what is chosen, the keys
    // app/keys.cpp: the presenter's and the keyboard's keys.
    void connectKeys();

    // app/read_out.cpp: the x read-out, the carrier of x.
    void setDistanceText(double x);
    double distance() const; // x read back from Text1
    // app/stepping.cpp: the board's picture at P's offset.
    void redrawBoard();
    // app/auto_run.cpp
    void runOn(); // the run's loop, from the next test on
    void showRunState(bool running);
    // app/back_to_start.cpp: the graph and the table start afresh at
    // x = 0 (最初に, 初期画面).
    void restartGraphAndTable();
    // The table's column of the x the read-out carries (DrawTable's mode).
    void drawTable(qint16 mode);

    // app/building.cpp: a drop of `held` at (X, Y), by a drag's release or
    // a click (takes it away above the envelope, puts it in over it, puts
    // the templates home); the board after a release above or over the
    // envelope; figureChanged when the slots no longer hold `before`.
    void dropHeld(const board::Lift &held, float X, float Y);
    void showDroppedFigure();
    void tellFigureIfChanged(const board::Slots &before);
    void clickOnBoard(QPointF at);
    void choose(std::optional<board::Lift> piece);
    // app/moving_p.cpp: whether a press on the board takes P; P stepped
    // to a place on its way (board x, a whole number of steps from B).
    bool pressTakesP(float X, float Y) const;
    void goToPx(double target);

    // ---- The panels ---------------------------------------------------------
    std::unique_ptr<board::BoardPanel> m_board;
    std::unique_ptr<graph::GraphPanel> m_graph;
    std::unique_ptr<table::TablePanel> m_table;

    // ---- The window's own state, beside the scene ---------------------------
    int m_outerWidthTwips = 0;
    int m_outerHeightTwips = 0;
    bool m_running = false;
    bool m_ending = false;
    ui::Waiter m_waiter;    // the automatic run's wait between steps
    qint64 m_stepDueNs = 0; // when the run's next step is due (ui::tickNs)
    // Building without a drag: where the board's latest press began, while
    // it is still a click, and the piece chosen (the board frames it).
    std::optional<QPointF> m_clickStart;
    std::optional<board::Lift> m_chosen;
    // P held by the pointer since a press on it; the page's scale.
    bool m_holdingP = false;
    double m_cssPerPixel = 1;
};
