#include "TableLayout.h"

#include <algorithm>
#include <cmath>

namespace table {

namespace {

constexpr int zeroColumnLeft = 60;
constexpr int columnPitch = 45;
constexpr int firstColumnOffset = 50;
constexpr int headingRule = 32;     // the rule right of the headings
constexpr double digitMiddle = 7;   // from a one-digit text's left to its middle

} // namespace

int columnLeft(int x, double value, bool yRow)
{
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

std::optional<int> columnAt(double left)
{
    if (!(left > headingRule))
        return std::nullopt;
    const double column = std::nearbyint((left - firstColumnOffset - digitMiddle) / columnPitch);
    if (column > lastColumn)
        return std::nullopt;
    return int(std::max(column, 0.0));
}

} // namespace table
