#include "ClickRules.h"

namespace board {
namespace {

// The slot a placed piece starts at: a triangle's first third.
int firstSlot(const Slots &codes, int slot)
{
    const int code = codes[std::size_t(slot)];
    return code >= TriangleLeft ? slot - (code - TriangleLeft) : slot;
}

bool samePiece(const Slots &codes, const Lift &a, const Lift &b)
{
    if (a.slot.has_value() != b.slot.has_value())
        return false;
    if (!a.slot)
        return a.piece == b.piece;
    return firstSlot(codes, *a.slot) == firstSlot(codes, *b.slot);
}

} // namespace

bool staysAClick(QPointF press, QPointF at, int dragDistance)
{
    return (at - press).manhattanLength() < dragDistance;
}

Click clickAt(const Slots &codes, const std::optional<Lift> &chosen, float X, float Y)
{
    const auto lift = liftAt(codes, X, Y);
    if (!chosen)
        return lift ? Click{Click::Choose, lift} : Click{};
    if (lift && samePiece(codes, *lift, *chosen))
        return {Click::Forget, {}};
    if (lift && !lift->slot)
        return {Click::Choose, lift};
    const bool overASlot = Y > envelopeTop && Y < baseY && slotAt(X);
    const bool takesAway = Y < envelopeTop && chosen->slot;
    return {overASlot || takesAway ? Click::Drop : Click::Forget, {}};
}

QPointF trayPoint(int n)
{
    const TrayHome &home = trayHomes[std::size_t(n)];
    // Half a centimetre above the line every template stands on: inside each.
    return {home.left + home.width / 2.0, trayTop + pieceHeight - pixelsPerCm / 2.0};
}

QPointF slotPoint(int i) { return {slotLeft(i) + slotWidth / 2.0, (envelopeTop + baseY) / 2.0}; }

} // namespace board
