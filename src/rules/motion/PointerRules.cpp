#include "PointerRules.h"

#include "board/Geometry.h"
#include "motion/StripRules.h"

#include <algorithm>
#include <cmath>

namespace motion {

namespace {

constexpr double mouseReach = board::pixelsPerCm / 2.0;
constexpr double fingerReachCss = 44 / 2.0;

} // namespace

double pReach(bool fingerOrPen, double cssPerBoardPx)
{
    if (!fingerOrPen)
        return mouseReach;
    const double scale = cssPerBoardPx > 0 ? std::min(cssPerBoardPx, 1.0) : 1.0;
    return std::max(fingerReachCss / scale, mouseReach);
}

bool takesP(QPointF at, double px, double reach)
{
    const bool inEnvelope = at.x() > board::sideAbX && at.x() < board::envelopeRight &&
                            at.y() > board::envelopeTop && at.y() < board::baseY;
    return !inEnvelope && std::abs(at.x() - px) <= reach && std::abs(at.y() - board::baseY) <= reach;
}

double nearestStopPx(double x)
{
    if (std::isnan(x))
        return board::sideAbX;
    const double steps = std::nearbyint((board::sideAbX - std::clamp(x, endPx, double(board::sideAbX))) / stepPx);
    return board::sideAbX - steps * stepPx;
}

double stopPxForCm(double x)
{
    if (std::isnan(x))
        return board::sideAbX;
    return nearestStopPx(board::sideAbX - x * board::pixelsPerCm);
}

} // namespace motion
