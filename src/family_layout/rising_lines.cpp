#include "family_layout/rising_lines.h"

#include <algorithm>
#include <cmath>

namespace kinship::family {

bool joined_above(const LayerLines& lines, double a, double b)
{
    const double lo = std::min(a, b) + 1e-6;
    const double hi = std::max(a, b) - 1e-6;
    const auto between = [&](const std::vector<double>& xs) {
        return std::ranges::lower_bound(xs, hi) - std::ranges::upper_bound(xs, lo);
    };
    return between(lines.up) < between(lines.down);
}

void place_rises(double x, std::vector<Rise>& rises, bool up_free,
                 std::array<bool, 2> sideways_free, double spacing, double half_width)
{
    for (const bool right : {false, true}) {
        std::vector<std::size_t> side;
        for (std::size_t k = 0; k < rises.size(); ++k) {
            if ((rises[k].toward > x) == right) {
                side.push_back(k);
            }
        }
        std::ranges::stable_sort(side, {}, [&](std::size_t k) { return std::abs(rises[k].toward - x); });
        const double n = static_cast<double>(side.size());
        const double step = std::min(spacing, half_width / std::max(n, 1.0));
        for (std::size_t k = 0; k < side.size(); ++k) {
            Rise& rise = rises[side[k]];
            rise.dx = (right ? 1.0 : -1.0) * step * (n - static_cast<double>(k));
            rise.way = RiseWay::slant;
            if (k == 0 && sideways_free[right ? 1 : 0]) {
                rise.way = RiseWay::sideways;
            } else if (k + 1 == side.size() && up_free) {
                rise.dx = 0;
                rise.way = RiseWay::straight;
                up_free = false;
            }
        }
    }
}

} // namespace kinship::family
