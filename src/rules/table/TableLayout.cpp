#include "TableLayout.h"

#include <cmath>

namespace table {

int columnLeft(int x, double value, bool yRow)
{
    constexpr int zeroColumnLeft = 60;
    constexpr int columnPitch = 45;
    constexpr int firstColumnOffset = 50;
    constexpr int wideShift = 5;  // two digits
    constexpr int pointShift = 8; // a point and one more digit
    if (x == 0)
        return zeroColumnLeft;
    int left = columnPitch * x + firstColumnOffset;
    if (value >= 10)
        left -= wideShift;
    if (yRow && value != std::floor(value))
        left -= pointShift;
    return left;
}

} // namespace table
