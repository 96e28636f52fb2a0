#include "family_layout/shelf_packing.h"

#include <algorithm>
#include <cmath>

namespace kinship::family {

std::vector<Offset> pack_in_rows(const std::vector<Box>& boxes, double gap)
{
    double area = 0;
    double widest = 0;
    for (const Box& b : boxes) {
        area += (b.width + gap) * (b.height + gap);
        widest = std::max(widest, b.width);
    }
    const double page_width = std::max(widest, std::sqrt(area));
    std::vector<Offset> offsets;
    offsets.reserve(boxes.size());
    double x = 0;
    double y = 0;
    double row_height = 0;
    for (const Box& b : boxes) {
        if (x > 0 && x + b.width > page_width) {
            x = 0;
            y += row_height + gap;
            row_height = 0;
        }
        offsets.push_back({x, y});
        x += b.width + gap;
        row_height = std::max(row_height, b.height);
    }
    return offsets;
}

} // namespace kinship::family
