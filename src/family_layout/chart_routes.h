#pragma once

// The heights of a family chart: where each layer of people stands and at which height
// each family's horizontal lines run between two layers. Every family that comes down
// into the space between two layers gets a height of its own there when its lines would
// otherwise run along another family's, so that no two families' lines lie on top of one
// another; the space grows with the heights it holds.

#include <vector>

namespace kinship::family {

// A family's lines down to its children, in the x of the layers they pass.
struct Descent {
    int layer = 0;            // layer of the couple (or single parent) they come down from
    std::vector<double> tops; // where they come down into the first space: the family node,
                              // or the partners when these do not stand side by side
    // Where the children's lines set off along the first space's line: the family node (on
    // that line when the partners stand apart), or the single parent's line.
    double start = 0;
    // Per child, the x at which its line passes each layer from layer + 1 down to the
    // child's own (the last one is the child's x).
    std::vector<std::vector<double>> paths;
};

struct ChartHeights {
    std::vector<double> layer_y; // centre of each layer's boxes
    // Per descent, the height of its horizontal line in each space it uses, from the one
    // under its layer down.
    std::vector<std::vector<double>> line_y;
};

// A line coming down into a space at the very x where another family's line leaves it
// downward would run along it: the one leaving moves aside by a little (a passage, or an
// individual line, which the caller then takes over to its child's centre just above the
// box, turn_above_box under the box's top: below every line of the space).
void move_aside(std::vector<Descent>& descents);
inline constexpr double turn_above_box = 6.0;

// Lays the layers out from y = box_height / 2 down.
ChartHeights chart_heights(int layers, double box_height, const std::vector<Descent>& descents);

} // namespace kinship::family
