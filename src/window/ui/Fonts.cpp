#include "Fonts.h"

#include <cmath>

namespace ui {
namespace {

// The design's face is "ＭＳ Ｐゴシック"; the metric-compatible IPAPGothic,
// which the project installs, stands in for it. Fonts name it directly:
// asking for the design's name first sends the font system looking for a
// face that is not there, which costs about a fifth of start-up.
const QString installedFace = QStringLiteral("IPAPGothic");
constexpr double designDpi = 96.0;
constexpr double pointsPerInch = 72.0;
constexpr int defaultFontPixels = 12; // the self-sized default labels are 12 px tall

} // namespace

QFont designFont(double points, bool bold)
{
    QFont font(installedFace);
    font.setPixelSize(int(std::lround(points * designDpi / pointsPerInch)));
    font.setBold(bold);
    return font;
}

QFont defaultFont()
{
    QFont font(installedFace);
    font.setPixelSize(defaultFontPixels);
    return font;
}

} // namespace ui
