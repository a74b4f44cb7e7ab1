#pragma once

// Outer sizes of the lesson window in twips (15 twips = 1 px), frame
// included: compact, widened for the graph (グラフ) and heightened for the
// table (表). See Form1::setOuterSizeTwips for how they map to the screen.
namespace app {

constexpr int compactWidthTwips = 9700;
constexpr int graphWidthTwips = 15700;
constexpr int compactHeightTwips = 8800;
constexpr int tableHeightTwips = 10800;

} // namespace app
