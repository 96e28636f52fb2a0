// The heights of overlapping families' lines in one space between two layers: every line of
// a family is drawn whole from its node down to its child, so a line coming down through a
// sibship line crosses each of the lines running along it there.

#include "family_layout/chart_routes.h"

#include <gtest/gtest.h>

namespace {

using kinship::family::Descent;

TEST(ChartHeights, StacksOverlappingLinesWhereTheyCrossFewestTimes)
{
    // One child at 100 from a node at 0, and five children at 60, 70, 80, 200 and 300 from
    // a node at 50. The five-line trunk at 50 crossing the single line at 0..100 counts five
    // times, and the single line down at 100 crosses the two lines to 200 and 300: 7
    // crossings with the single line on top. Under, it is crossed by the lines down to 60,
    // 70 and 80: 3.
    const Descent single{0, {0.0}, 0.0, {{100.0}}};
    const Descent five{0, {50.0}, 50.0, {{60.0}, {70.0}, {80.0}, {200.0}, {300.0}}};
    for (const bool single_first : {true, false}) {
        const auto heights = kinship::family::chart_heights(
            2, 30, single_first ? std::vector{single, five} : std::vector{five, single});
        const double single_y = heights.line_y[single_first ? 0 : 1][0];
        const double five_y = heights.line_y[single_first ? 1 : 0][0];
        EXPECT_GT(single_y, five_y) << "single line given first: " << single_first;
        EXPECT_GT(heights.layer_y[1], std::max(single_y, five_y));
    }
}

} // namespace
