#include "RunRules.h"

#include "ui/NumberForm.h"

#include <cmath>
#include <limits>

namespace motion {

int waitForSpeedText(QStringView text)
{
    constexpr double msPerSpeedUnit = 5;
    const double ms = std::nearbyint(ui::leadingNumber(ui::halfWidthNumber(text)) * msPerSpeedUnit);
    if (!(ms > 0)) // also catches NaN
        return 0;
    constexpr double longest = std::numeric_limits<int>::max();
    return ms >= longest ? std::numeric_limits<int>::max() : int(ms);
}

} // namespace motion
