#include "StripRules.h"

#include "ui/NumberForm.h"

#include <algorithm>
#include <cmath>

namespace motion {

double distanceCm(double px) { return (board::sideAbX - px) / board::pixelsPerCm; }

QString distanceText(double x)
{
    QString s = ui::generalNumber(x);
    if (ui::leadingNumber(s) == 0.5)
        s = QStringLiteral(" 0") + s.mid(1);
    if (!s.contains(QLatin1Char('.')))
        s += QStringLiteral(".0");
    return s;
}

int slotEntered(double x)
{
    // 0.5..2 cm lie in slot 0, 2.5..4 in slot 1, ... 8.5..10 in slot 4.
    const int slot = int(std::floor(x / 2 - 0.1));
    return std::clamp(slot, 0, board::slotCount - 1);
}

int stripIndex(double x)
{
    constexpr int lastStrip = board::slotCount * stripsPerSlot;
    return std::clamp(int(std::nearbyint(2 * x)), 1, lastStrip);
}

std::array<float, stripsPerSlot> slotStrips(int code)
{
    using namespace board;
    switch (code) {
    // A flat piece h cm high: every 0.5-cm strip has the area 0.5 h.
    case Square2x2: return {1, 1, 1, 1};
    case Rect2x4: return {2, 2, 2, 2};
    case Rect2x6: return {3, 3, 3, 3};
    // The triangle rises 1 cm per cm: a 0.5-cm strip whose near edge stands
    // h cm high has the area 0.5 h + 0.125.
    case TriangleLeft: return {0.125f, 0.375f, 0.625f, 0.875f};
    case TriangleMiddle: return {1.125f, 1.375f, 1.625f, 1.875f};
    case TriangleRight: return {2.125f, 2.375f, 2.625f, 2.875f};
    default: return {0, 0, 0, 0};
    }
}

void recordStrip(StripTable &strips, int n, int code)
{
    if (n < 1 || n >= int(strips.size()))
        return;
    if (code < board::TriangleLeft) {
        strips[std::size_t(n)] = slotStrips(code)[0]; // flat or empty: every strip alike
        return;
    }
    if (strips[std::size_t(n)] != 0 || code > board::TriangleRight)
        return;
    const auto areas = slotStrips(code);
    for (int i = 0; i < stripsPerSlot && n + i < int(strips.size()); ++i)
        strips[std::size_t(n + i)] = areas[std::size_t(i)];
}

int recordStep(StripTable &strips, const board::Slots &pieces, double x)
{
    const int code = pieces[std::size_t(slotEntered(x))];
    recordStrip(strips, stripIndex(x), code);
    return code;
}

double areaUpTo(const StripTable &strips, int n)
{
    double sum = 0;
    for (int k = 1; k <= n && k < int(strips.size()); ++k)
        sum += strips[std::size_t(k)];
    return sum;
}

double stepChange(const StripTable &strips, double x, bool forward)
{
    const int index = int(std::nearbyint(forward ? 2 * x : 2 * x + 1));
    if (index < 0 || index >= int(strips.size()))
        return 0;
    const float strip = strips[std::size_t(index)];
    return forward ? strip : -strip;
}

float areaAtCm(const StripTable &strips, int cm) { return float(areaUpTo(strips, 2 * cm)); }

} // namespace motion
