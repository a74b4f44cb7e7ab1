#pragma once

#include "board/Geometry.h"

#include <QString>

#include <array>

// Pure rules of P's motion: board position to distance, the distance text,
// and the strip areas that make up y. P starts at B, on side AB (x = 0), and
// moves left along the base line.
namespace motion {

// End of travel (x = 10 cm): P has gone as far left of B as C lies right of it.
constexpr double endPx = board::sideAbX - (board::envelopeRight - board::sideAbX);
constexpr double stepPx = board::pixelsPerCm / 2.0; // one step of 0.5 cm
constexpr int stripsPerSlot = 4; // 0.5-cm strips per slot

// StepArea[k] is the y gained (cm²) over the step that ends at x = k/2 cm;
// entry 0 is never written, entries 1..20 cover the ten centimetres and entry
// 21 is spare.
using StripTable = std::array<float, 22>;

// x in cm for a board position of P.
double distanceCm(double px);

// The read-out text of x: one leading blank and one digit after the point
// (" 0.0", " 0.5", " 1.0", ... " 10.0").
QString distanceText(double x);

// The slot (0..4) that the forward step ending at x (0.5..10) enters.
int slotEntered(double x);

// The strip index of the step ending at x: 2x rounded (1..20).
int stripIndex(double x);

// The four strip areas (cm², leading strip first) of a slot code
// (board::Piece): empty, the flat pieces 2, 4 and 6 cm high, and the thirds
// of the sloping triangle.
std::array<float, stripsPerSlot> slotStrips(int code);

// Records the strip of the forward step n (1..20) into a slot of code `code`.
// A flat or empty slot rewrites its strip at every step; a third of the
// triangle fills all four strips of its slot at the first step into it and
// leaves them alone while they are set. Writes never pass the table's end.
void recordStrip(StripTable &strips, int n, int code);

// The forward step that has brought P to x: records the strip of the slot it
// entered and gives that slot's code.
int recordStep(StripTable &strips, const board::Slots &pieces, double x);

// y (cm²) up to strip n: the sum of entries 1..n.
double areaUpTo(const StripTable &strips, int n);

// The change of y (cm²) that the graph's running sum takes at a step of P.
// A forward step that has brought P to x adds the strip ending at x; a
// backward step, taken once x has gone back, takes away the strip that ended
// at x + 0.5, the one just undone. A strip beyond the table changes nothing.
double stepChange(const StripTable &strips, double x, bool forward);

// y (cm²) at the whole centimetre `cm` (0..10), as the table's column shows
// it: the two strips of every centimetre up to cm, in single precision.
float areaAtCm(const StripTable &strips, int cm);

} // namespace motion
