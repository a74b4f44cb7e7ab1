#include "WindowSizes.h"

#include <cmath>

namespace app {
namespace {

int roundedPixels(int twips) { return int(std::lround(double(twips) / twipsPerPixel)); }

} // namespace

QSize clientSizeFromOuterTwips(int outerWidthTwips, int outerHeightTwips)
{
    return {roundedPixels(outerWidthTwips - nominalFrameWidthTwips),
            roundedPixels(outerHeightTwips - nominalFrameHeightTwips)};
}

} // namespace app
