#pragma once

// Unconnected parts of a drawing packed in rows, aiming at a page about as wide as high.

#include <vector>

namespace kinship::family {

struct Box {
    double width = 0;
    double height = 0;
};

struct Offset {
    double x = 0;
    double y = 0;
};

// Where each box's top left corner goes: the boxes in the order given, left to right in
// rows `gap` apart, a row ending where it would pass the page width (the widest box, or
// the side of a square holding all boxes' area, whichever is larger).
std::vector<Offset> pack_in_rows(const std::vector<Box>& boxes, double gap);

} // namespace kinship::family
