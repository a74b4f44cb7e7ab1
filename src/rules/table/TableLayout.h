#pragma once

#include <optional>

// Where the value table writes its texts, in table-panel pixels.
namespace table {

constexpr int xRowTop = 25; // the row beside "χ"
constexpr int yRowTop = 70; // the row beside "ｙ"
constexpr int lastColumn = 10;

// Left edge of a value's text in the column of x (0 or a whole 1..10):
// x = 0 stands at 60, x = n at 45 n + 50, moved 5 px left for a value of 10
// or more and, in the y row, a further 8 px left for a value with a point.
int columnLeft(int x, double value, bool yRow);

// The column under a point at table x `left` (table pixels): the one whose
// texts stand nearest, counting from the middle of a one-digit text; none
// over the headings (left of their rule at x = 32) or past the last column.
std::optional<int> columnAt(double left);

} // namespace table
