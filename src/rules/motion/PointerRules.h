#pragma once

#include <QPointF>

// Where the pupil's pointer takes P: by P itself on the board, by the
// graph, by the table. Board pixels unless said otherwise (20 px = 1 cm;
// P stands on the base line y = 300, at B x = 300, 10 px less per step).
namespace motion {

// How far from P's dot a press still takes it (board pixels, along x and
// along y): half a centimetre for the mouse, so that P is about a
// centimetre wide under it; for a finger or a pen half of 44 CSS pixels,
// however small the board is shown (cssPerBoardPx: CSS pixels one board
// pixel measures, 1 on the desktop), and never less than the mouse's.
double pReach(bool fingerOrPen, double cssPerBoardPx);

// Whether a press at `at` takes P standing at px on the base line: within
// `reach` of its dot, and not inside the envelope ABCD, where a press
// stays the pieces' (with P at B its reach meets the envelope: P is taken
// on or below the base line there).
bool takesP(QPointF at, double px, double reach);

// P's place nearest a pointer at board x: a whole number of steps from B,
// no further than the end of its way (100 ... 300).
double nearestStopPx(double x);

// P's place for x (cm) as the lesson shows it, to the nearest half
// centimetre, kept within 0 ... 10 cm.
double stopPxForCm(double x);

} // namespace motion
