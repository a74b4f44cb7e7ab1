#include "GraphScale.h"

#include "ui/NumberForm.h"

namespace graph {

double gx(double x) { return originX + pixelsPerCmOfX * x; }
double gy(double y) { return originY - pixelsPerCm2OfY * y; }
double xAt(double left) { return (left - originX) / pixelsPerCmOfX; }

std::vector<AxisText> axisTexts()
{
    constexpr int xLabelY = 485; // just below the x axis
    std::vector<AxisText> texts;
    for (int i = 1; i <= 10; ++i) {
        // Under each grid line, a two-digit label 3 px further left.
        const int left = gridStep * i + 29 - (i >= 10 ? 3 : 0);
        texts.push_back({{left, xLabelY}, ui::generalNumber(double(i))});
    }
    texts.push_back({{362, xLabelY}, QStringLiteral("(cm)")});
    texts.push_back({{25, xLabelY}, QStringLiteral("0")});
    for (int i = 1; i <= 15; ++i) {
        // Beside each grid line; the one-digit labels 4 and 8 stand 5 px further right.
        const int left = 15 + (i < 3 ? 5 : 0);
        texts.push_back({{left, 475 - gridStep * i}, ui::generalNumber(double(4 * i))});
    }
    texts.push_back({{2, 8}, QStringLiteral("(cm  )")});
    texts.push_back({{22, 5}, QStringLiteral("2")}); // the exponent of cm², in the gap
    return texts;
}

} // namespace graph
