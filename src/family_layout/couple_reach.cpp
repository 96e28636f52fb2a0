#include "family_layout/couple_reach.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace kinship::family {
namespace {

constexpr int passes = 4;
// Rows pushed aside, or carried along between a couple's children, at most: a move then
// takes little time in a crowded layer.
constexpr std::size_t most_pushed = 32;
// A moved couple's middle ends this far inside its children's span, clear of rounding.
constexpr double inside = 0.5;

// The families a person takes part in, as partner or child: couples by number, single
// parents by person.
struct Membership {
    std::vector<std::vector<int>> couples;
    std::vector<std::vector<int>> single_parents;
};

Membership memberships(const Families& families, std::size_t people,
                       std::vector<std::vector<int>>& single_children)
{
    Membership m{std::vector<std::vector<int>>(people), std::vector<std::vector<int>>(people)};
    single_children.assign(people, {});
    for (std::size_t c = 0; c < families.couples.size(); ++c) {
        const Family& f = families.couples[c];
        for (const int p : {f.father, f.mother}) {
            m.couples[static_cast<std::size_t>(p)].push_back(static_cast<int>(c));
        }
        for (const int child : f.children) {
            m.couples[static_cast<std::size_t>(child)].push_back(static_cast<int>(c));
        }
    }
    for (const ParentLink& link : families.single_links) {
        const auto parent = static_cast<std::size_t>(link.parent);
        if (single_children[parent].empty()) {
            m.single_parents[parent].push_back(link.parent);
        }
        single_children[parent].push_back(link.child);
        m.single_parents[static_cast<std::size_t>(link.child)].push_back(link.parent);
    }
    return m;
}

} // namespace

void reach_children(const Families& families, const Units& units, const PlacedLayers& placed,
                    const std::function<double(int)>& person_width, const ReachSettings& settings,
                    std::vector<double>& x)
{
    const std::size_t people = x.size();
    const auto rows = units.members.size();
    std::vector<std::vector<int>> single_children;
    const Membership member = memberships(families, people, single_children);
    std::vector<int> place(people, 0);
    for (const auto& row : units.members) {
        for (std::size_t k = 0; k < row.size(); ++k) {
            place[static_cast<std::size_t>(row[k])] = static_cast<int>(k);
        }
    }
    const auto at = [&](int p) { return x[static_cast<std::size_t>(p)]; };
    const std::vector<char> side_by_side = couples_side_by_side(families, units);
    // The children's span widened by the tolerance.
    const auto span = [&](const std::vector<int>& children) {
        double lo = std::numeric_limits<double>::max();
        double hi = std::numeric_limits<double>::lowest();
        for (const int c : children) {
            lo = std::min(lo, at(c));
            hi = std::max(hi, at(c));
        }
        return std::pair{lo - settings.tolerance, hi + settings.tolerance};
    };
    // How far the couple's middle and node lie left of the span (positive) or right of it
    // (negative); 0 when over it.
    const auto miss = [&](std::size_t c) {
        const Family& f = families.couples[c];
        const auto [lo, hi] = span(f.children);
        const int left = at(f.father) < at(f.mother) ? f.father : f.mother;
        const int right = left == f.father ? f.mother : f.father;
        const double middle = (at(left) + at(right)) / 2;
        double low = middle;
        double high = middle;
        if (side_by_side[c]) {
            const double node =
                (at(left) + person_width(left) / 2 + at(right) - person_width(right) / 2) / 2;
            low = std::min(low, node);
            high = std::max(high, node);
        }
        if (low < lo) {
            return lo - low;
        }
        return high > hi ? hi - high : 0.0;
    };
    const auto couple_over = [&](int c) {
        const Family& f = families.couples[static_cast<std::size_t>(c)];
        return f.children.empty() || miss(static_cast<std::size_t>(c)) == 0.0;
    };
    const auto parent_over = [&](int parent) {
        const auto [lo, hi] = span(single_children[static_cast<std::size_t>(parent)]);
        return lo <= at(parent) && at(parent) <= hi;
    };

    // Each row's neighbours in its layer, and its unconnected part.
    std::vector<int> left_of(rows, -1);
    std::vector<int> right_of(rows, -1);
    std::vector<std::size_t> part_of(rows, 0);
    for (std::size_t l = 0; l < placed.layers.size(); ++l) {
        const auto& layer = placed.layers[l];
        for (std::size_t k = 0; k < layer.size(); ++k) {
            const auto item = static_cast<std::size_t>(layer[k]);
            if (item < rows) {
                left_of[item] = k > 0 ? layer[k - 1] : -1;
                right_of[item] = k + 1 < layer.size() ? layer[k + 1] : -1;
                part_of[item] = placed.part.empty() ? 0 : static_cast<std::size_t>(placed.part[l]);
            }
        }
    }
    const auto edge = [&](int item, bool right_edge) {
        const auto i = static_cast<std::size_t>(item);
        if (i >= rows) {
            return placed.x[i];
        }
        const auto& row = units.members[i];
        const int p = right_edge ? row.back() : row.front();
        return at(p) + (right_edge ? 1 : -1) * person_width(p) / 2;
    };
    // Each part's extent as placed: moves stay within it, so the picture grows no wider.
    std::vector<std::pair<double, double>> extent;
    for (std::size_t l = 0; l < placed.layers.size(); ++l) {
        const std::size_t part = placed.part.empty() ? 0 : static_cast<std::size_t>(placed.part[l]);
        if (extent.size() <= part) {
            extent.resize(part + 1, {std::numeric_limits<double>::max(),
                                     std::numeric_limits<double>::lowest()});
        }
        for (const int item : placed.layers[l]) {
            extent[part].first = std::min(extent[part].first, edge(item, false));
            extent[part].second = std::max(extent[part].second, edge(item, true));
        }
    }
    // Room to move a row's end outward: up to its neighbour, keeping the gap, or to the
    // edge of its part.
    const auto room = [&](std::size_t row, bool rightward) {
        const int next = rightward ? right_of[row] : left_of[row];
        const auto here = static_cast<int>(row);
        if (next < 0) {
            const auto& [lo, hi] = extent[part_of[row]];
            return rightward ? hi - edge(here, true) : edge(here, false) - lo;
        }
        const double gap =
            static_cast<std::size_t>(next) < rows ? settings.box_gap : settings.line_gap;
        return rightward ? edge(next, false) - gap - edge(here, true)
                         : edge(here, false) - gap - edge(next, true);
    };

    std::vector<std::pair<int, double>> moved; // person, step
    std::vector<int> couples_touched, parents_touched;
    // How many of the touched families stand over their children.
    const auto count_over = [&] {
        return std::ranges::count_if(couples_touched, couple_over) +
               std::ranges::count_if(parents_touched, parent_over);
    };
    // Adds the rows beyond `item` that stand in the way of its moving `distance` further
    // that way, each as far as it stands in the way; false where a passing line or the
    // edge of the part does, or more than most_pushed rows would have to.
    const auto push_beyond = [&](std::size_t item, double distance, bool rightward) {
        std::size_t pushed = 0;
        for (double still = distance - room(item, rightward); still > 0;
             still -= room(item, rightward)) {
            const int next = rightward ? right_of[item] : left_of[item];
            if (static_cast<std::size_t>(next) >= rows || ++pushed > most_pushed) {
                return false;
            }
            item = static_cast<std::size_t>(next);
            for (const int p : units.members[item]) {
                moved.emplace_back(p, rightward ? still : -still);
            }
        }
        return true;
    };
    // Makes the moves in `moved` where they put more of the families of the people moved,
    // as partners or as children, over their children.
    const auto try_moves = [&] {
        couples_touched.clear();
        parents_touched.clear();
        for (const auto& [p, step] : moved) {
            const auto& cs = member.couples[static_cast<std::size_t>(p)];
            couples_touched.insert(couples_touched.end(), cs.begin(), cs.end());
            const auto& ps = member.single_parents[static_cast<std::size_t>(p)];
            parents_touched.insert(parents_touched.end(), ps.begin(), ps.end());
        }
        for (auto* v : {&couples_touched, &parents_touched}) {
            std::ranges::sort(*v);
            v->erase(std::unique(v->begin(), v->end()), v->end());
        }
        const auto before = count_over();
        for (const auto& [p, step] : moved) {
            x[static_cast<std::size_t>(p)] += step;
        }
        if (count_over() > before) {
            return true;
        }
        for (const auto& [p, step] : moved) {
            x[static_cast<std::size_t>(p)] -= step;
        }
        return false;
    };
    // The partner on the children's side and those beyond in the row move away from the
    // other partner, twice as far as the couple's middle must go.
    const auto stretch_row = [&](const Family& f, double off) {
        const bool rightward = off > 0;
        const double shift = 2 * std::abs(off) + inside;
        const int mover = (at(f.father) < at(f.mother)) == rightward ? f.mother : f.father;
        const auto row = static_cast<std::size_t>(units.unit_of[static_cast<std::size_t>(mover)]);
        const auto& members = units.members[row];
        const auto from = static_cast<std::size_t>(place[static_cast<std::size_t>(mover)]);
        moved.clear();
        const std::size_t end = rightward ? members.size() : from + 1;
        for (std::size_t k = rightward ? from : 0; k < end; ++k) {
            moved.emplace_back(members[k], rightward ? shift : -shift);
        }
        return push_beyond(row, shift, rightward) && try_moves();
    };
    // The rows of the children, and any between them, move toward the couple as far as
    // the couple misses them.
    const auto bring_children = [&](const Family& f, double off) {
        const bool rightward = off < 0;
        const double shift = std::abs(off) + inside;
        const auto row_of = [&](int p) {
            return static_cast<std::size_t>(units.unit_of[static_cast<std::size_t>(p)]);
        };
        const auto [first, last] = std::ranges::minmax(f.children, {}, at);
        moved.clear();
        for (std::size_t item = row_of(first), between = 0;; ++between) {
            for (const int p : units.members[item]) {
                moved.emplace_back(p, rightward ? shift : -shift);
            }
            if (item == row_of(last)) {
                break;
            }
            const int next = right_of[item];
            // A passing line between them, too many rows, or children in other layers.
            if (next < 0 || static_cast<std::size_t>(next) >= rows || between == most_pushed) {
                return false;
            }
            item = static_cast<std::size_t>(next);
        }
        const std::size_t leading = rightward ? row_of(last) : row_of(first);
        return push_beyond(leading, shift, rightward) && try_moves();
    };
    for (int pass = 0; pass < passes; ++pass) {
        bool changed = false;
        for (std::size_t c = 0; c < families.couples.size(); ++c) {
            const Family& f = families.couples[c];
            if (f.children.empty()) {
                continue;
            }
            const double off = miss(c);
            if (off != 0.0 && (stretch_row(f, off) || bring_children(f, off))) {
                changed = true;
            }
        }
        if (!changed) {
            break;
        }
    }
}

} // namespace kinship::family
