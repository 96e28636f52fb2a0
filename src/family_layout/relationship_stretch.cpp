#include "family_layout/relationship_stretch.h"

#include "family_layout/family_drawing.h"

#include <algorithm>
#include <numeric>

namespace kinship::family {

double partner_spacing(const Stretches& stretches, int a, int b)
{
    const auto lo = std::min(a, b);
    const auto hi = std::max(a, b);
    const auto it = std::ranges::lower_bound(stretches, std::tuple{lo, hi, 0.0});
    const bool found = it != stretches.end() && std::get<0>(*it) == lo && std::get<1>(*it) == hi;
    return partner_gap + (found ? std::get<2>(*it) : 0.0);
}

RowMeasure measure_row(const std::vector<int>& members, const Stretches& stretches,
                       const std::function<double(int)>& person_width)
{
    RowMeasure row;
    double left = 0;
    for (std::size_t k = 0; k < members.size(); ++k) {
        if (k > 0) {
            left += partner_spacing(stretches, members[k - 1], members[k]);
        }
        row.offset.push_back(left + person_width(members[k]) / 2);
        left += person_width(members[k]);
    }
    row.width = left;
    for (double& o : row.offset) {
        o -= left / 2;
    }
    return row;
}

Stretches stretch_only_children(const Families& families, const Units& units,
                                const std::vector<std::vector<int>>& layers,
                                const std::vector<int>& layer_depth,
                                const std::function<double(int)>& person_width,
                                double box_gap, double line_gap)
{
    const auto at = [](const auto& v, int i) -> decltype(auto) { return v[static_cast<std::size_t>(i)]; };
    const auto rows = static_cast<int>(units.members.size());
    // Per person: the couple whose only child they are, when it stands side by side in
    // the layer just above (the check of the layer waits until that layer is placed).
    std::vector<int> only_child_of(units.unit_of.size(), -1);
    for (std::size_t c = 0; c < families.couples.size(); ++c) {
        const Family& f = families.couples[c];
        if (f.children.size() == 1 && at(units.unit_of, f.father) == at(units.unit_of, f.mother)) {
            only_child_of[static_cast<std::size_t>(f.children.front())] = static_cast<int>(c);
        }
    }
    Stretches stretches;
    std::vector<RowMeasure> measured(units.members.size());
    std::vector<double> tight_x(units.members.size(), 0.0); // rows at their least distance
    std::vector<int> layer_of(units.members.size(), -1);
    // A couple's family node in its row at its least distance, if the partners stand side
    // by side in layer `l`; else nothing.
    const auto node_x = [&](int c, int l, double& x) {
        const Family& f = at(families.couples, c);
        const int row = at(units.unit_of, f.father);
        if (at(layer_of, row) != l) {
            return false;
        }
        const auto& members = at(units.members, row);
        const auto i = std::ranges::find(members, f.father) - members.begin();
        const auto j = std::ranges::find(members, f.mother) - members.begin();
        if (std::abs(i - j) != 1) {
            return false;
        }
        const auto left = static_cast<std::size_t>(std::min(i, j));
        const RowMeasure& m = at(measured, row);
        x = at(tight_x, row) + (m.offset[left] + person_width(members[left]) / 2 +
                                m.offset[left + 1] - person_width(members[left + 1]) / 2) / 2;
        return true;
    };
    std::vector<std::size_t> order(layers.size());
    std::iota(order.begin(), order.end(), 0);
    std::ranges::stable_sort(order, {}, [&](std::size_t l) { return layer_depth[l]; });
    // Index in `layers` of the layer just above each (same part), found as rows are met.
    std::vector<int> above(layers.size(), -1);
    for (const std::size_t l : order) {
        for (const int item : layers[l]) {
            if (item < rows) {
                layer_of[static_cast<std::size_t>(item)] = static_cast<int>(l);
            }
        }
    }
    for (const std::size_t l : order) {
        for (const int item : layers[l]) {
            if (item >= rows) {
                continue;
            }
            const auto& members = at(units.members, item);
            for (std::size_t k = 0; k + 1 < members.size(); ++k) {
                const int a = members[k];
                const int b = members[k + 1];
                const int ca = at(only_child_of, a);
                const int cb = at(only_child_of, b);
                if (ca < 0 || cb < 0 || ca == cb || !are_partners(families, a, b)) {
                    continue;
                }
                const int upper = at(layer_of, at(units.unit_of, at(families.couples, ca).father));
                if (upper < 0 || layer_depth[static_cast<std::size_t>(upper)] + 1 != layer_depth[l]) {
                    continue;
                }
                double xa = 0;
                double xb = 0;
                if (!node_x(ca, upper, xa) || !node_x(cb, upper, xb) || xa >= xb) {
                    continue;
                }
                const double usual = (person_width(a) + person_width(b)) / 2 + partner_gap;
                if (xb - xa > usual) {
                    const std::tuple key{std::min(a, b), std::max(a, b), xb - xa - usual};
                    stretches.insert(std::ranges::lower_bound(stretches, key), key);
                }
            }
        }
        // The layer at its least distance, with its rows' stretches.
        double x = 0;
        double last_width = 0;
        bool last_box = false;
        bool first = true;
        for (const int item : layers[l]) {
            const bool box = item < rows;
            double w = 0;
            if (box) {
                measured[static_cast<std::size_t>(item)] =
                    measure_row(at(units.members, item), stretches, person_width);
                w = measured[static_cast<std::size_t>(item)].width;
            }
            if (!first) {
                x += (last_width + w) / 2 + (box && last_box ? box_gap : line_gap);
            }
            if (box) {
                tight_x[static_cast<std::size_t>(item)] = x;
            }
            first = false;
            last_width = w;
            last_box = box;
        }
    }
    return stretches;
}

} // namespace kinship::family
