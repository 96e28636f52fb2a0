#include "family_layout/relationship_stretch.h"

#include "family_layout/family_drawing.h"

#include <algorithm>

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
                                PlacedLayers placed,
                                const std::function<double(int)>& person_width,
                                double box_gap, double line_gap)
{
    const auto at = [](const auto& v, int i) -> decltype(auto) { return v[static_cast<std::size_t>(i)]; };
    const auto rows = static_cast<int>(units.members.size());
    // Per person: the couple they are a child of, if its partners stand side by side, and
    // whether they are its only child.
    std::vector<int> child_of(units.unit_of.size(), -1);
    std::vector<char> only_child(units.unit_of.size(), 0);
    for (std::size_t c = 0; c < families.couples.size(); ++c) {
        const Family& f = families.couples[c];
        for (const int child : f.children) {
            child_of[static_cast<std::size_t>(child)] = static_cast<int>(c);
            only_child[static_cast<std::size_t>(child)] = f.children.size() == 1;
        }
    }
    Stretches stretches;
    std::vector<RowMeasure> measured(units.members.size());
    std::vector<int> layer_of(units.members.size(), -1);
    const std::vector<std::size_t> order = layers_by_depth(placed);
    for (const std::size_t l : order) {
        for (const int item : placed.layers[l]) {
            if (item < rows) {
                layer_of[static_cast<std::size_t>(item)] = static_cast<int>(l);
            }
        }
    }
    // Where a couple's child stands best, by the estimate of the layer above, if the
    // partners stand side by side in layer `l`.
    const auto node_x = [&](int c, int l, double& x) {
        const Family& f = at(families.couples, c);
        const int row = at(units.unit_of, f.father);
        if (at(units.unit_of, f.mother) != row || at(layer_of, row) != l) {
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
        // Halfway between the family node (the middle of the gap between the partners'
        // widths) and the middle between their centres: a child there is under both.
        const double node = (m.offset[left] + person_width(members[left]) / 2 +
                             m.offset[left + 1] - person_width(members[left + 1]) / 2) / 2;
        const double middle = (m.offset[left] + m.offset[left + 1]) / 2;
        x = at(placed.x, row) + (node + middle) / 2;
        return true;
    };
    // From the top layer down: the stretches of a layer's rows from where the layer above
    // stands, then the layer placed under the couples its people are children of.
    std::vector<double> target, weight;
    for (const std::size_t l : order) {
        const auto& layer = placed.layers[l];
        const auto above = [&](int c) {
            double x = 0;
            const int upper = c < 0 ? -1 : at(layer_of, at(units.unit_of, at(families.couples, c).father));
            const bool ok = upper >= 0 && placed.depth[static_cast<std::size_t>(upper)] + 1 == placed.depth[l] &&
                            node_x(c, upper, x);
            return std::pair{ok, x};
        };
        for (const int item : layer) {
            if (item >= rows) {
                continue;
            }
            const auto& members = at(units.members, item);
            for (std::size_t k = 0; k + 1 < members.size(); ++k) {
                const int a = members[k];
                const int b = members[k + 1];
                const int ca = at(child_of, a);
                const int cb = at(child_of, b);
                if (!at(only_child, a) || !at(only_child, b) || ca == cb || !are_partners(families, a, b)) {
                    continue;
                }
                const auto [a_ok, xa] = above(ca);
                const auto [b_ok, xb] = above(cb);
                const double usual = (person_width(a) + person_width(b)) / 2 + partner_gap;
                if (a_ok && b_ok && xb - xa > usual) {
                    const std::tuple key{std::min(a, b), std::max(a, b), xb - xa - usual};
                    stretches.insert(std::ranges::lower_bound(stretches, key), key);
                }
            }
        }
        target.assign(layer.size(), 0.0);
        weight.assign(layer.size(), 0.0);
        double pulled = 0; // the pulled items' mean distance from where they stand now
        for (std::size_t k = 0; k < layer.size(); ++k) {
            const int item = layer[k];
            if (item >= rows) {
                continue;
            }
            measured[static_cast<std::size_t>(item)] = measure_row(at(units.members, item), stretches, person_width);
            placed.width[static_cast<std::size_t>(item)] = measured[static_cast<std::size_t>(item)].width;
            const auto& members = at(units.members, item);
            for (std::size_t m = 0; m < members.size(); ++m) {
                const auto [ok, x] = above(at(child_of, members[m]));
                if (ok) {
                    target[k] += x - measured[static_cast<std::size_t>(item)].offset[m];
                    weight[k] += 1;
                }
            }
            if (weight[k] > 0) {
                target[k] /= weight[k];
                pulled += target[k] - at(placed.x, item);
            }
        }
        const auto count = static_cast<double>(std::ranges::count_if(weight, [](double w) { return w > 0; }));
        for (std::size_t k = 0; k < layer.size(); ++k) { // the others keep their places weakly
            if (weight[k] == 0) {
                target[k] = at(placed.x, layer[k]) + (count > 0 ? pulled / count : 0.0);
                weight[k] = 1e-3;
            }
        }
        settle(layer, target, weight, placed, box_gap, line_gap, placed.x);
    }
    return stretches;
}

} // namespace kinship::family
