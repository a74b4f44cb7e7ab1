#include "RunRules.h"

#include "ui/NumberForm.h"

#include <algorithm>
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

NextStep nextStep(qint64 lastDueNs, qint64 nowNs, qint64 intervalNs)
{
    const qint64 dueNs = lastDueNs + intervalNs;
    if (nowNs - dueNs >= intervalNs)
        return {nowNs + intervalNs, intervalNs};
    return {dueNs, std::max(dueNs - nowNs, intervalNs / 2)};
}

} // namespace motion
