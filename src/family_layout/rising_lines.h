#pragma once

// Partners who stand apart in one layer and have no children together are joined by lines
// to a common height: below their layer, as partners with children are, or above it where
// fewer lines cross there. Above, the lines coming into the people standing between them
// from their parents; below, the lines going down from those people to their children.

#include <array>
#include <vector>

namespace kinship::family {

// The x of a layer's lines: those leaving it downward and those coming into it from above.
struct LayerLines {
    std::vector<double> down;
    std::vector<double> up;
};

// Whether partners at x `a` and `b` of a layer with these lines (each sorted) are joined
// above it: fewer lines come in between them than leave from between them.
bool joined_above(const LayerLines& lines, double a, double b);

// How a line up to a partner joined above leaves the person's box for the top of it.
enum class RiseWay : char {
    sideways, // along the middle of the box, then up
    straight, // straight up from the centre
    slant,    // by a short slant inside the box
};

struct Rise {
    double toward = 0; // the partner's x
    double dx = 0;     // where it leaves the top of the box, from the centre
    RiseWay way = RiseWay::slant;
};

// Places the rises of a person standing at `x`: each on its partner's side of the top of
// the box, within `half_width` of the middle, where the line from the person's parents comes
// in; on each side the line to the nearest partner outermost, so that the lines to farther
// partners, which run higher, rise inside it without crossing it. The outermost leaves the
// centre sideways where that side is free (`sideways_free`, left and right), the innermost
// straight up where `up_free` (no line comes in from parents); the others slant.
void place_rises(double x, std::vector<Rise>& rises, bool up_free,
                 std::array<bool, 2> sideways_free, double spacing, double half_width);

} // namespace kinship::family
