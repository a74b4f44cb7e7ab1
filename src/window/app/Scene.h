#pragma once

#include "board/Geometry.h"
#include "motion/StripRules.h"

#include <QtGlobal>

#include <optional>

// The lesson's scene state under its own names: where the envelope's corners
// and P stand, what the pupil holds and has built, and the area each step of
// P takes out. Board pixels unless said otherwise (20 px = 1 cm). The graph
// and the table keep their own sums (graph/GraphPanel.h, table/TablePanel.h).
// The types are the lesson's: some corners are whole numbers, most are not.
struct Scene
{
    double Ax = 0, Ay = 0, Bx = 0, By = 0, Cx = 0, Cy = 0, Dx = 0;
    qint16 Dy = 0;
    double Px = 0; // P's x: 300 at B, 10 less per 0.5-cm step, 100 at x = 10 cm
    double Py = 0;
    int DragPiece = board::Empty;  // held piece: none, 1..4 from the tray, else a slot code
    board::Slots SlotPiece{};      // slot codes, slot i at board x 300+40i..340+40i
    std::optional<int> DragSlot;   // slot the held piece came from; none = tray
    qint16 CurPiece = 0;           // code of the slot the latest forward step entered
    motion::StripTable StepArea{}; // StepArea[k]: y gained over the step ending at x = k/2
    qint16 StopFlag = 0;           // 1 = stop of the automatic run requested
};
