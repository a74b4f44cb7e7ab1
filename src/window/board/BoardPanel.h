#pragma once

#include "app/DesignFacts.h"
#include "board/SlotRules.h"
#include "ui/GraphicControls.h"
#include "ui/Surface.h"

#include <QPointF>
#include <QRect>

#include <array>
#include <optional>

class QWidget;

namespace board {

// The board's windowless controls under their design names, drawn above
// its canvas, never into it.
struct BoardControls
{
    ui::LabelControl *Label1 = nullptr; // "点Ｐが動いた距離χ"
    ui::LabelControl *Label2 = nullptr; // "cm"
    ui::ShapeControl *Shape1 = nullptr; // P's red dot
    // Label4: 0 "A", 1 "B", 2 "C", 3 "Ｄ", 4 "１０cm", 5 "６cm", 6 "χcm", 8 "Ｐ";
    // there is no member 7 (it stays null).
    std::array<ui::LabelControl *, 9> Label4{};
    std::array<ui::LabelControl *, 8> Label9{}; // dimension labels of the tray pieces
    ui::LineControl *Line1 = nullptr;           // the dark tray band
    std::array<ui::LineControl *, 2> Line4{};   // member 1: red underline of Label1
    std::array<ui::LineControl *, 8> Line5{};   // envelope, base line, flap, red bar (4)
    std::array<ui::LineControl *, 4> Line6{};   // square template
    std::array<ui::LineControl *, 4> Line7{};   // 2 x 4 cm template
    std::array<ui::LineControl *, 4> Line9{};   // 2 x 6 cm template
    std::array<ui::LineControl *, 3> Line8{};   // triangle template
};

// The blackboard: its surface (kokuban) and the pictures on it. It paints
// the figure at P's offset, shaded white left of AB (out of the envelope)
// and grey right of it (still inside), and moves its windowless controls:
// the envelope and its labels, P's dot and label, the red bar BP, the
// piece templates and the frame around a chosen piece.
//
// Units: board pixels, 20 px = 1 cm; A (300,180), B (300,300),
// C (500,300), D (500,180).
class BoardPanel
{
public:
    // The board's surface at `place` in the window (window pixels).
    BoardPanel(QWidget *window, QRect place);

    ui::Surface &surface() { return m_kokuban; }
    const ui::Surface &surface() const { return m_kokuban; }
    const BoardControls &controls() const { return m_controls; }

    // ---- The canvas: side AB, the grid and the shaded pieces --------------
    // The whole picture with the figure at offset pos (P's x), the
    // grid when it is shown.
    void RedrawBoard(qint16 pos, const Slots &figure, bool gridShown);
    void DrawGrid();
    void ShadeSquare2x2(qint16 x);
    void ShadeRect2x4(qint16 x);
    void ShadeRect2x6(qint16 x);
    void ShadeTriangle6x6(qint16 x);

    // ---- The envelope and P -------------------------------------------
    // The envelope ABCD with its labels, its base line and its flap, P's
    // marks at p and the red bar parked, as on the initial screen.
    void placeEnvelope(QPointF a, QPointF b, QPointF c, QPointF d, QPointF p);
    // P's red dot and label "Ｐ" at P's x on the base line y.
    void movePMarker(double px, double baseY);
    // The red bar from B's x to P's x at height y (below the board: hidden).
    void placeBar(double bx, double px, int y);
    // The label "χcm" under the way P went, after a step forward or back.
    void followP(double px, bool forward);
    void hideDistanceLabel();

    // ---- The piece templates --------------------------------------------
    // Laid out from a corner (X, Y), the top-left of a 6-cm-high frame.
    void PlaceLine6Figure(qint16 X, qint16 Y);
    void PlaceLine7Figure(qint16 X, qint16 Y);
    void PlaceLine9Figure(qint16 X, qint16 Y);
    void PlaceLine8Figure(qint16 X, qint16 Y);
    // Every template in the tray, with its dimension labels.
    void putTemplatesHome();
    // The template of `piece` (a tray piece or a slot code) held with its
    // frame's corner at `corner`, its labels hidden.
    void carryTemplate(int piece, QPoint corner);

    // ---- The contrast view ----------------------------------------------
    // The board's colours that carry meaning in the contrast view (on) or
    // the design's (off), app::boardLook, at once: the controls and the
    // picture as it stands (the board, the shading, the grid).
    void setContrastView(bool on);
    bool isContrastView() const { return m_contrast; }

    // ---- The choice ---------------------------------------------------
    // The frame around the chosen piece (none: no frame). A piece in the
    // envelope (`figure`) is framed where the board draws it at offset px,
    // and the frame moves with the picture at every redraw.
    void frameChosen(std::optional<Lift> chosen, const Slots &figure, double px);

private:
    bool m_contrast = false;
    app::BoardLook m_look; // the colours of the view shown (before m_kokuban, which takes its board)
    ui::Surface &m_kokuban;
    BoardControls m_controls;
    ui::FrameControl *m_chosenFrame = nullptr;
    std::optional<Lift> m_framed; // what the frame shows
};

} // namespace board
