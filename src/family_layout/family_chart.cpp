#include "family_layout/family_chart.h"

#include "family_layout/chart_routes.h"
#include "family_layout/layer_order.h"
#include "family_layout/row_orientation.h"
#include "family_layout/unit_graph.h"
#include "family_layout/family_drawing.h"
#include "family_layout/part_placement.h"
#include "family_layout/row_placement.h"
#include "family_layout/relationship_stretch.h"
#include "family_layout/rising_lines.h"
#include "family_layout/chart_packing.h"
#include "family_layout/unit_order.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

namespace kinship::family {
namespace {

// Gaps along a layer: between rows of partners, and between a passing line and anything.
constexpr double unit_gap = 20.0;
// Rows of different units keep the gap kinship-draw looks for between names too.
static_assert(unit_gap >= text::slot_gap);
constexpr double line_gap = 10.0;
// Between lines that drop from one person's box.
constexpr double drop_spacing = 6.0;
// Sweep pairs down and up placing the rows along the layers.
constexpr int placement_sweeps = 12;
// The best order is shaken at most once for every `items_per_shake` items, and at most
// `shake_work` items moved through in all, on charts of at most `shaken_items` items (on
// larger ones a try takes seconds): enough for the ordering to find most of what shaking
// finds, within the time of one layered drawing.
constexpr std::size_t items_per_shake = 8;
constexpr std::size_t shake_work = 1000000;
constexpr std::size_t shaken_items = 20000;

// Bend points of a route through `points` from `start` to `end`: no repeated point and no
// point in the middle of a straight run.
Route clean_route(const Point& start, const std::vector<Point>& points, const Point& end)
{
    std::vector<Point> all{start};
    const auto same = [](const Point& a, const Point& b) {
        return std::abs(a.x - b.x) < 1e-9 && std::abs(a.y - b.y) < 1e-9;
    };
    for (const Point& p : points) {
        if (!same(p, all.back())) {
            all.push_back(p);
        }
    }
    if (!same(end, all.back())) {
        all.push_back(end);
    }
    Route route;
    for (std::size_t k = 1; k + 1 < all.size(); ++k) {
        const Point& a = route.empty() ? all.front() : route.back();
        const Point& p = all[k];
        const Point& b = all[k + 1];
        const bool straight = (std::abs(a.x - p.x) < 1e-9 && std::abs(p.x - b.x) < 1e-9) ||
                              (std::abs(a.y - p.y) < 1e-9 && std::abs(p.y - b.y) < 1e-9);
        if (!straight) {
            route.push_back(p);
        }
    }
    return route;
}

// A point that a line passes: on an item of the placement (a row of people or a line's
// passage through a layer), at a person's centre, at the middle between a couple
// standing side by side, or (neither) at the passage.
struct Step {
    int item = 0;
    int person = -1;
    int couple = -1;
};

// One family's or single parent's lines: where they start and each child's steps down.
struct Walk {
    int couple = -1;                // or -1 for a single parent's children
    std::vector<std::size_t> links; // the single links, for a single parent
    Step source;
    std::vector<std::vector<Step>> paths;
    // A partner standing layers above the other: their line's passages through the layers
    // down to the other's, whose space below holds the family node.
    int upper = -1;
    std::vector<Step> upper_path;
    // Childless partners apart in one layer: a point in the next layer (below, else above)
    // that both are linked to while the layers are ordered, so that they are kept near.
    int meeting = -1;
    bool meeting_below = true;
};

int find(std::vector<int>& parent, int v)
{
    while (parent[static_cast<std::size_t>(v)] != v) {
        parent[static_cast<std::size_t>(v)] =
            parent[static_cast<std::size_t>(parent[static_cast<std::size_t>(v)])];
        v = parent[static_cast<std::size_t>(v)];
    }
    return v;
}

// The connected parts of the unit graph, numbered in the order of their first node.
std::vector<int> components_of(const UnitGraph& graph, int& count)
{
    std::vector<int> parent(static_cast<std::size_t>(graph.nodes));
    std::iota(parent.begin(), parent.end(), 0);
    for (const UnitEdge& e : graph.edges) {
        parent[static_cast<std::size_t>(find(parent, e.source))] = find(parent, e.target);
    }
    std::vector<int> number(parent.size(), -1);
    std::vector<int> component(parent.size());
    count = 0;
    for (int v = 0; v < graph.nodes; ++v) {
        const auto root = static_cast<std::size_t>(find(parent, v));
        if (number[root] < 0) {
            number[root] = count++;
        }
        component[static_cast<std::size_t>(v)] = number[root];
    }
    return component;
}

} // namespace

Chart family_chart(const Families& families, Units& units, std::span<const double> person_width)
{
    const std::size_t people = units.unit_of.size();
    const std::size_t unit_count = units.members.size();
    const std::size_t couples = families.couples.size();
    const UnitGraph graph = unit_graph(families, units);
    const UnitRanks ranks = rank_units(graph, static_cast<int>(unit_count));
    int component_count = 0;
    const std::vector<int> component = components_of(graph, component_count);
    const auto components = static_cast<std::size_t>(component_count);
    const auto width = [&](int p) {
        return person_width.empty() ? person_size : person_width[static_cast<std::size_t>(p)];
    };
    const auto unit = [&](int p) { return units.unit_of[static_cast<std::size_t>(p)]; };
    const auto component_of = [&](int p) {
        return static_cast<std::size_t>(component[static_cast<std::size_t>(unit(p))]);
    };

    // Layers of people: the ranks of rows within each part, without the couples' own.
    std::vector<std::vector<int>> heights(components);
    for (std::size_t u = 0; u < unit_count; ++u) {
        heights[static_cast<std::size_t>(component[u])].push_back(ranks.rank[u]);
    }
    for (auto& h : heights) {
        std::ranges::sort(h);
        h.erase(std::unique(h.begin(), h.end()), h.end());
    }
    std::vector<int> layer(people);
    for (std::size_t p = 0; p < people; ++p) {
        const auto u = static_cast<std::size_t>(unit(static_cast<int>(p)));
        const auto& h = heights[static_cast<std::size_t>(component[u])];
        layer[p] = static_cast<int>(std::ranges::lower_bound(h, ranks.rank[u]) - h.begin());
    }

    // Each person's place in their row and offset from the row's centre; partners stand
    // partner_gap apart, farther where their relationship line is stretched.
    Stretches stretched;
    std::vector<int> place_in_row(people);
    std::vector<double> offset(people);
    std::vector<double> row_width(unit_count);
    const auto measure_rows = [&] {
        for (std::size_t u = 0; u < unit_count; ++u) {
            const auto& row = units.members[u];
            const RowMeasure measured = measure_row(row, stretched, width);
            for (std::size_t k = 0; k < row.size(); ++k) {
                const auto p = static_cast<std::size_t>(row[k]);
                offset[p] = measured.offset[k];
                place_in_row[p] = static_cast<int>(k);
            }
            row_width[u] = measured.width;
        }
    };
    measure_rows();
    std::vector<char> side_by_side(couples, 0);
    std::vector<int> lower_partner(couples);
    for (std::size_t c = 0; c < couples; ++c) {
        const Family& f = families.couples[c];
        const auto fa = static_cast<std::size_t>(f.father);
        const auto mo = static_cast<std::size_t>(f.mother);
        side_by_side[c] = unit(f.father) == unit(f.mother) &&
                          std::abs(place_in_row[fa] - place_in_row[mo]) == 1;
        lower_partner[c] = layer[fa] >= layer[mo] ? f.father : f.mother;
    }
    const auto step_offset = [&](const Step& s) {
        if (s.person >= 0) {
            return offset[static_cast<std::size_t>(s.person)];
        }
        if (s.couple < 0) {
            return 0.0;
        }
        const Family& f = families.couples[static_cast<std::size_t>(s.couple)];
        const auto fa = static_cast<std::size_t>(f.father);
        const auto mo = static_cast<std::size_t>(f.mother);
        const int left = offset[fa] < offset[mo] ? f.father : f.mother;
        const int right = left == f.father ? f.mother : f.father;
        return (offset[static_cast<std::size_t>(left)] + width(left) / 2 +
                offset[static_cast<std::size_t>(right)] - width(right) / 2) / 2;
    };

    // The middle between a couple's centres (where a family's point is measured from, and
    // a point of its own for anything else).
    const auto middle_offset = [&](const Step& s) {
        if (s.couple < 0) {
            return step_offset(s);
        }
        const Family& f = families.couples[static_cast<std::size_t>(s.couple)];
        return (offset[static_cast<std::size_t>(f.father)] + offset[static_cast<std::size_t>(f.mother)]) / 2;
    };

    // Items: the rows, then a passage for each layer a family's trunk passes.
    PlacedLayers placed;
    std::vector<std::pair<std::size_t, int>> item_layer; // (part, layer)
    // First orders within the layers: the depth-first walk's, the file's, and the walk's
    // from the last node (each also reversed).
    std::vector<double> key;
    std::vector<double> file_key;
    std::vector<double> back_key; // of the walk from the last node, lines from the last
    const std::vector<int> walked_back = walk_order(graph, true);
    for (std::size_t u = 0; u < unit_count; ++u) {
        placed.width.push_back(row_width[u]);
        item_layer.emplace_back(static_cast<std::size_t>(component[u]),
                                layer[static_cast<std::size_t>(units.members[u].front())]);
        key.push_back(ranks.first_seen[u]);
        file_key.push_back(static_cast<double>(u));
        back_key.push_back(walked_back[u]);
    }
    const auto passage = [&](std::size_t comp, int l, int toward) {
        placed.width.push_back(0.0);
        item_layer.emplace_back(comp, l);
        key.push_back(ranks.first_seen[static_cast<std::size_t>(unit(toward))] - 0.5);
        back_key.push_back(walked_back[static_cast<std::size_t>(unit(toward))] - 0.5);
        file_key.push_back(unit(toward) - 0.5);
        return static_cast<int>(placed.width.size() - 1);
    };
    // The steps of a line from `top` down to `child`, through the trunk's passages.
    const auto path_down = [&](int top, int child, std::vector<int>& trunk) {
        std::vector<Step> path;
        for (int l = top + 1; l < layer[static_cast<std::size_t>(child)]; ++l) {
            const auto at = static_cast<std::size_t>(l - top - 1);
            if (trunk.size() <= at) {
                trunk.push_back(passage(component_of(child), l, child));
            }
            path.push_back({trunk[at], -1, -1});
        }
        path.push_back({unit(child), child, -1});
        return path;
    };
    std::vector<std::vector<Walk>> walks(components);
    for (std::size_t c = 0; c < couples; ++c) {
        const Family& f = families.couples[c];
        if (side_by_side[c] && f.children.empty()) {
            continue;
        }
        const int lower = lower_partner[c];
        Walk walk{static_cast<int>(c), {},
                  side_by_side[c] ? Step{unit(lower), -1, static_cast<int>(c)}
                                  : Step{unit(lower), lower, -1},
                  {}, -1, {}};
        const int other = lower == f.father ? f.mother : f.father;
        const int lower_layer = layer[static_cast<std::size_t>(lower)];
        if (!side_by_side[c] && layer[static_cast<std::size_t>(other)] < lower_layer) {
            walk.upper = other;
            for (int l = layer[static_cast<std::size_t>(other)] + 1; l <= lower_layer; ++l) {
                walk.upper_path.push_back({passage(component_of(other), l, other), -1, -1});
            }
        }
        std::vector<int> trunk;
        for (const int child : f.children) {
            walk.paths.push_back(path_down(layer[static_cast<std::size_t>(lower)], child, trunk));
        }
        const std::size_t layers_here = heights[component_of(lower)].size();
        if (!side_by_side[c] && walk.upper < 0 && f.children.empty() && layers_here > 1) {
            walk.meeting_below = static_cast<std::size_t>(lower_layer) + 1 < layers_here;
            walk.meeting = passage(component_of(lower), lower_layer + (walk.meeting_below ? 1 : -1), lower);
        }
        walks[component_of(lower)].push_back(std::move(walk));
    }
    std::vector<std::pair<std::size_t, std::size_t>> single_walk(people, {0, 0});
    std::vector<char> has_single(people, 0);
    std::vector<std::vector<int>> single_trunk(people);
    for (std::size_t k = 0; k < families.single_links.size(); ++k) {
        const ParentLink& link = families.single_links[k];
        const auto parent = static_cast<std::size_t>(link.parent);
        const std::size_t comp = component_of(link.parent);
        if (!has_single[parent]) {
            has_single[parent] = 1;
            single_walk[parent] = {comp, walks[comp].size()};
            walks[comp].push_back({-1, {}, {unit(link.parent), link.parent, -1}, {}, -1, {}});
        }
        Walk& walk = walks[comp][single_walk[parent].second];
        walk.links.push_back(k);
        walk.paths.push_back(path_down(layer[parent], link.child, single_trunk[parent]));
    }

    // From each first order: layers ordered, spread out, placed; rows turned the way round
    // that crosses less, placed again and moved over their children. The chart whose lines
    // cross less is kept.
    const auto link_walks = [&] {
        placed.links.clear();
        int family = 0;
        for (const auto& component_walks : walks) {
            for (const Walk& walk : component_walks) {
                for (const auto& path : walk.paths) {
                    Step from = walk.source;
                    for (const Step& to : path) {
                        placed.links.push_back({from.item, step_offset(from), to.item,
                                                step_offset(to),
                                                from.item == walk.source.item ? family : -1,
                                                middle_offset(from)});
                        from = to;
                    }
                }
                // Partners apart in one layer: the family's lines hang from the middle
                // between them, so the order weighs them from the other partner too.
                if (walk.couple >= 0 && walk.upper < 0 && walk.source.person >= 0) {
                    const Family& f = families.couples[static_cast<std::size_t>(walk.couple)];
                    const int other = walk.source.person == f.father ? f.mother : f.father;
                    const Step from{unit(other), other, -1};
                    for (const auto& path : walk.paths) {
                        placed.links.push_back({from.item, step_offset(from), path.front().item,
                                                step_offset(path.front()), -1});
                    }
                }
                if (walk.upper >= 0) {
                    Step from{unit(walk.upper), walk.upper, -1};
                    for (const Step& to : walk.upper_path) {
                        placed.links.push_back({from.item, step_offset(from), to.item, 0.0, -1});
                        from = to;
                    }
                }
                if (walk.meeting >= 0) {
                    const Family& f = families.couples[static_cast<std::size_t>(walk.couple)];
                    for (const int p : {f.father, f.mother}) {
                        const double at_p = step_offset({unit(p), p, -1});
                        placed.links.push_back(walk.meeting_below
                            ? PlacedLayers::Link{unit(p), at_p, walk.meeting, 0.0, -1}
                            : PlacedLayers::Link{walk.meeting, 0.0, unit(p), at_p, -1});
                    }
                }
                ++family;
            }
        }
    };
    link_walks();
    placed.x.assign(placed.width.size(), 0.0);
    const auto order_from = [&](const std::vector<double>& first) {
        std::vector<std::size_t> by_layer(placed.width.size());
        std::iota(by_layer.begin(), by_layer.end(), 0);
        std::ranges::sort(by_layer, [&](std::size_t a, std::size_t b) {
            return item_layer[a] != item_layer[b] ? item_layer[a] < item_layer[b]
                                                  : first[a] < first[b];
        });
        placed.layers.clear();
        placed.depth.clear();
        placed.part.clear();
        for (std::size_t k = 0; k < by_layer.size(); ++k) {
            if (k == 0 || item_layer[by_layer[k]] != item_layer[by_layer[k - 1]]) {
                placed.layers.emplace_back();
                placed.depth.push_back(item_layer[by_layer[k]].second);
                placed.part.push_back(static_cast<int>(item_layer[by_layer[k]].first));
            }
            placed.layers.back().push_back(static_cast<int>(by_layer[k]));
        }
        order_layers(placed, 0);
        return count_crossings(placed);
    };
    const auto at = [&](const Step& s) {
        return placed.x[static_cast<std::size_t>(s.item)] + step_offset(s);
    };
    // The whole layout from the order of the layers as they stand, the rows unstretched.
    const auto lay_out = [&] {
        stretched.clear();
        measure_rows();
        std::copy(row_width.begin(), row_width.end(), placed.width.begin());
        link_walks();
        placed.x.assign(placed.width.size(), 0.0);
        for (const auto& layer_items : placed.layers) {
            double x = 0;
            for (const int item : layer_items) {
                placed.x[static_cast<std::size_t>(item)] = x;
                x += placed.width[static_cast<std::size_t>(item)] + unit_gap;
            }
        }
        place_along_layers(placed, unit_gap, line_gap, placement_sweeps);
        LineEnds ends;
        ends.up.resize(people);
        ends.down.resize(people);
        for (const auto& component_walks : walks) {
            for (const Walk& walk : component_walks) {
                for (const auto& path : walk.paths) {
                    const double below = at(path.front());
                    if (walk.couple >= 0) {
                        const Family& f = families.couples[static_cast<std::size_t>(walk.couple)];
                        ends.down[static_cast<std::size_t>(f.father)].push_back(below);
                        ends.down[static_cast<std::size_t>(f.mother)].push_back(below);
                    } else {
                        ends.down[static_cast<std::size_t>(walk.source.person)].push_back(below);
                    }
                    ends.up[static_cast<std::size_t>(path.back().person)].push_back(
                        at(path.size() > 1 ? path[path.size() - 2] : walk.source));
                }
            }
        }
        orient_rows(units, ends);
        stretched = stretch_only_children(families, units, placed, width, unit_gap, line_gap);
        measure_rows();
        std::copy(row_width.begin(), row_width.end(), placed.width.begin());
        link_walks();
        place_parts(placed, unit_gap, line_gap, person_size / 2, placement_sweeps);
    };
    // The chart of the layout as it stands.
    const auto draw_chart = [&] {
        std::vector<double> x(people);
        for (std::size_t p = 0; p < people; ++p) {
            x[p] = placed.x[static_cast<std::size_t>(unit(static_cast<int>(p)))] + offset[p];
        }
        // Several lines dropping from one person (to partners who do not stand beside them,
        // or to children without a recorded other parent) leave the box at x of their own, so
        // that none runs along another: sideways from the centre, or straight down, where
        // those ways are free, else by a short slant. Those going left leave left of those
        // going right; on each side the one going farthest leaves nearest the other side, so
        // that it can pass under the nearer ones without crossing their lines.
        std::vector<std::vector<std::pair<double, double>>> drop(components); // per walk: father or parent, mother
        // Per person, the drops (left, right) that leave the centre sideways, not slanting.
        std::vector<std::array<double, 2>> sideways(people, {0.0, 0.0});
        // The points taking a line from the centre of the box at (x, y) to x + dx at its foot.
        const auto leave_box = [&](int p, double px, double py, double dx) {
            std::vector<Point> points;
            const auto& side = sideways[static_cast<std::size_t>(p)];
            if (dx != 0 && (dx == side[0] || dx == side[1])) {
                points.push_back({px + dx, py});
            }
            points.push_back({px + dx, py + person_size / 2});
            return points;
        };
        // Childless partners apart in one layer: per walk, whether they are joined above it.
        std::vector<std::vector<char>> rising(components);
        // Per rising walk, how each partner's line leaves the box (father, mother).
        std::vector<std::vector<std::pair<RiseWay, RiseWay>>> rise_way(components);
        for (std::size_t comp = 0; comp < components; ++comp) {
            std::vector<LayerLines> lines(heights[comp].size());
            for (const Walk& walk : walks[comp]) {
                if (walk.paths.empty()) {
                    continue;
                }
                const int top = walk.couple >= 0 ? lower_partner[static_cast<std::size_t>(walk.couple)]
                                                 : walk.source.person;
                auto& down = lines[static_cast<std::size_t>(layer[static_cast<std::size_t>(top)])].down;
                if (walk.couple >= 0 && !side_by_side[static_cast<std::size_t>(walk.couple)]) {
                    const Family& f = families.couples[static_cast<std::size_t>(walk.couple)];
                    down.push_back(x[static_cast<std::size_t>(f.father)]);
                    down.push_back(x[static_cast<std::size_t>(f.mother)]);
                } else {
                    down.push_back(at(walk.source));
                }
                for (const auto& path : walk.paths) {
                    const auto child = static_cast<std::size_t>(path.back().person);
                    lines[static_cast<std::size_t>(layer[child])].up.push_back(x[child]);
                }
            }
            for (LayerLines& l : lines) {
                std::ranges::sort(l.down);
                std::ranges::sort(l.up);
            }
            rising[comp].assign(walks[comp].size(), 0);
            rise_way[comp].assign(walks[comp].size(), {RiseWay::slant, RiseWay::slant});
            for (std::size_t w = 0; w < walks[comp].size(); ++w) {
                const Walk& walk = walks[comp][w];
                if (walk.couple < 0 || side_by_side[static_cast<std::size_t>(walk.couple)] ||
                    walk.upper >= 0 || !walk.paths.empty()) {
                    continue;
                }
                const Family& f = families.couples[static_cast<std::size_t>(walk.couple)];
                const auto l = static_cast<std::size_t>(layer[static_cast<std::size_t>(f.father)]);
                rising[comp][w] = l > 0 && joined_above(lines[l], x[static_cast<std::size_t>(f.father)],
                                                        x[static_cast<std::size_t>(f.mother)]);
            }
        }
        {
            struct Drop {
                double toward;
                std::size_t comp, walk;
                bool mother;
            };
            std::vector<std::vector<Drop>> drops(people);
            std::vector<std::vector<Drop>> rises(people); // lines up to partners joined above
            for (std::size_t comp = 0; comp < components; ++comp) {
                drop[comp].assign(walks[comp].size(), {0.0, 0.0});
                for (std::size_t w = 0; w < walks[comp].size(); ++w) {
                    const Walk& walk = walks[comp][w];
                    if (walk.couple < 0) {
                        double toward = 0;
                        for (const auto& path : walk.paths) {
                            toward += at(path.front()) / static_cast<double>(walk.paths.size());
                        }
                        drops[static_cast<std::size_t>(walk.source.person)].push_back({toward, comp, w, false});
                    } else if (!side_by_side[static_cast<std::size_t>(walk.couple)]) {
                        const Family& f = families.couples[static_cast<std::size_t>(walk.couple)];
                        const double mid = (x[static_cast<std::size_t>(f.father)] + x[static_cast<std::size_t>(f.mother)]) / 2;
                        (rising[comp][w] ? rises : drops)[static_cast<std::size_t>(f.father)].push_back({mid, comp, w, false});
                        (rising[comp][w] ? rises : drops)[static_cast<std::size_t>(f.mother)].push_back({mid, comp, w, true});
                    }
                }
            }
            // Sides of a box where a partner standing beside it is joined.
            std::vector<std::array<char, 2>> joined(people, {0, 0});
            for (std::size_t c = 0; c < couples; ++c) {
                if (side_by_side[c]) {
                    const Family& f = families.couples[c];
                    const bool father_left = x[static_cast<std::size_t>(f.father)] <
                                             x[static_cast<std::size_t>(f.mother)];
                    joined[static_cast<std::size_t>(f.father)][father_left ? 1 : 0] = 1;
                    joined[static_cast<std::size_t>(f.mother)][father_left ? 0 : 1] = 1;
                }
            }
            for (std::size_t p = 0; p < people; ++p) {
                auto& list = drops[p];
                if (list.size() < 2) {
                    continue;
                }
                std::ranges::stable_sort(list, [&](const Drop& a, const Drop& b) {
                    const bool a_right = a.toward > x[p];
                    const bool b_right = b.toward > x[p];
                    return a_right != b_right ? b_right : a.toward > b.toward;
                });
                // Where each can leave the centre its own way (left, down, right, on the
                // sides no partner takes), it does: every segment horizontal or vertical.
                std::vector<double> ways;
                for (const double way : {-1.0, 0.0, 1.0}) {
                    if (way == 0 || !joined[p][way < 0 ? 0 : 1]) {
                        ways.push_back(way);
                    }
                }
                std::vector<double> dx(list.size());
                if (list.size() <= ways.size()) {
                    if (list.size() == 2 && ways.size() == 3) {
                        ways = {-1.0, 1.0};
                    }
                    for (std::size_t k = 0; k < list.size(); ++k) {
                        dx[k] = ways[k] * drop_spacing / 2;
                    }
                } else {
                    // Too many: evenly spaced within the shape (which stays person_size wide
                    // in a wider slot), one of them straight down; the outermost leave
                    // sideways where they can, the others slant.
                    const double n = static_cast<double>(list.size());
                    const bool even = list.size() % 2 == 0;
                    const double spacing = std::min(drop_spacing, (person_size - 6) / (even ? n : n - 1));
                    for (std::size_t k = 0; k < list.size(); ++k) {
                        dx[k] = (static_cast<double>(k) - (n - 1) / 2 + (even ? 0.5 : 0.0)) * spacing;
                    }
                }
                if (dx.front() < 0 && !joined[p][0]) {
                    sideways[p][0] = dx.front();
                }
                if (dx.back() > 0 && !joined[p][1]) {
                    sideways[p][1] = dx.back();
                }
                for (std::size_t k = 0; k < list.size(); ++k) {
                    auto& slot = drop[list[k].comp][list[k].walk];
                    (list[k].mother ? slot.second : slot.first) = dx[k];
                }
            }
            // Lines up to partners joined above leave the top of the box (see rising_lines.h).
            std::vector<char> comes_in(people, 0);
            for (const auto& component_walks : walks) {
                for (const Walk& walk : component_walks) {
                    for (const auto& path : walk.paths) {
                        comes_in[static_cast<std::size_t>(path.back().person)] = 1;
                    }
                }
            }
            std::vector<Rise> placed_rises;
            for (std::size_t p = 0; p < people; ++p) {
                if (rises[p].empty()) {
                    continue;
                }
                placed_rises.clear();
                for (const Drop& r : rises[p]) {
                    placed_rises.push_back({r.toward, 0.0, RiseWay::slant});
                }
                place_rises(x[p], placed_rises, !comes_in[p],
                            {!joined[p][0] && sideways[p][0] == 0, !joined[p][1] && sideways[p][1] == 0},
                            drop_spacing, person_size / 2 - 3);
                for (std::size_t k = 0; k < rises[p].size(); ++k) {
                    const Drop& r = rises[p][k];
                    auto& slot = drop[r.comp][r.walk];
                    auto& way = rise_way[r.comp][r.walk];
                    (r.mother ? slot.second : slot.first) = placed_rises[k].dx;
                    (r.mother ? way.second : way.first) = placed_rises[k].way;
                }
            }
        }
        std::vector<std::vector<Descent>> descents(components);
        // Per part, (walk, descent of its upper partner's line).
        std::vector<std::vector<std::pair<std::size_t, std::size_t>>> upper_line(components);
        std::vector<Descent> upper_lines;
        for (std::size_t comp = 0; comp < components; ++comp) {
            for (std::size_t w = 0; w < walks[comp].size(); ++w) {
                const Walk& walk = walks[comp][w];
                Descent descent;
                const int top = walk.couple >= 0
                    ? lower_partner[static_cast<std::size_t>(walk.couple)]
                    : walk.source.person;
                descent.layer = layer[static_cast<std::size_t>(top)];
                if (walk.upper >= 0) {
                    // The upper partner's line: a descent of its own down to the lower
                    // partner's layer, from where it comes down into the family's space.
                    const Family& f = families.couples[static_cast<std::size_t>(walk.couple)];
                    const bool father_up = walk.upper == f.father;
                    Descent line;
                    line.layer = layer[static_cast<std::size_t>(walk.upper)];
                    line.tops = {x[static_cast<std::size_t>(walk.upper)] +
                                 (father_up ? drop[comp][w].first : drop[comp][w].second)};
                    auto& xs = line.paths.emplace_back();
                    for (const Step& s : walk.upper_path) {
                        xs.push_back(at(s));
                    }
                    upper_line[comp].emplace_back(w, walks[comp].size() + upper_lines.size());
                    upper_lines.push_back(std::move(line));
                    // The first top is set once the lines have moved aside.
                    descent.tops = {0.0, x[static_cast<std::size_t>(top)] +
                                             (father_up ? drop[comp][w].second : drop[comp][w].first)};
                } else if (walk.couple >= 0 && rising[comp][w]) {
                    // Joined in the space above: two lines come up into it, as if to children.
                    const Family& f = families.couples[static_cast<std::size_t>(walk.couple)];
                    descent.layer -= 1;
                    descent.paths = {{x[static_cast<std::size_t>(f.father)] + drop[comp][w].first},
                                     {x[static_cast<std::size_t>(f.mother)] + drop[comp][w].second}};
                    descents[comp].push_back(std::move(descent));
                    continue;
                } else if (walk.couple >= 0 && !side_by_side[static_cast<std::size_t>(walk.couple)]) {
                    const Family& f = families.couples[static_cast<std::size_t>(walk.couple)];
                    descent.tops = {x[static_cast<std::size_t>(f.father)] + drop[comp][w].first,
                                    x[static_cast<std::size_t>(f.mother)] + drop[comp][w].second};
                } else {
                    descent.tops = {at(walk.source) + drop[comp][w].first};
                }
                for (const auto& path : walk.paths) {
                    auto& xs = descent.paths.emplace_back();
                    for (const Step& s : path) {
                        xs.push_back(at(s));
                    }
                }
                descents[comp].push_back(std::move(descent));
            }
            for (Descent& line : upper_lines) {
                descents[comp].push_back(std::move(line));
            }
            upper_lines.clear();
        }

        for (std::size_t comp = 0; comp < components; ++comp) {
            move_aside(descents[comp]);
            for (const auto& [w, line] : upper_line[comp]) {
                descents[comp][w].tops[0] = descents[comp][line].paths[0].back();
            }
        }

        // Heights per part, then the routes in the part's own frame.
        Chart chart;
        chart.person.resize(people);
        chart.family.resize(couples);
        chart.father_line.resize(couples);
        chart.mother_line.resize(couples);
        chart.child_line.resize(couples);
        chart.single_line.resize(families.single_links.size());
        std::vector<std::vector<double>> layer_y(components);
        for (std::size_t comp = 0; comp < components; ++comp) {
            const ChartHeights chart_y = chart_heights(static_cast<int>(heights[comp].size()),
                                                       person_size, descents[comp]);
            layer_y[comp] = chart_y.layer_y;
            chart.layers = std::max(chart.layers, static_cast<int>(chart_y.layer_y.size()));
            for (std::size_t d = 0; d < walks[comp].size(); ++d) {
                const Walk& walk = walks[comp][d];
                const Descent& descent = descents[comp][d];
                const auto& line_y = chart_y.line_y[d];
                if (rising[comp][d]) {
                    // Up from the top of each box (over to where the line was moved aside,
                    // if it was, just above the box) to the line, and along it to the node.
                    const auto c = static_cast<std::size_t>(walk.couple);
                    const Family& f = families.couples[c];
                    chart.family[c] = {(descent.paths[0][0] + descent.paths[1][0]) / 2, line_y[0]};
                    const auto partner_route = [&](int p, double dx, RiseWay way, double at_line) {
                        const auto pp = static_cast<std::size_t>(p);
                        const Point start{x[pp], chart_y.layer_y[static_cast<std::size_t>(layer[pp])]};
                        const double top = start.y - person_size / 2;
                        std::vector<Point> points;
                        if (way == RiseWay::sideways) {
                            points.push_back({x[pp] + dx, start.y});
                        }
                        points.push_back({x[pp] + dx, top});
                        if (at_line != x[pp] + dx) {
                            points.push_back({x[pp] + dx, top - turn_above_box});
                            points.push_back({at_line, top - turn_above_box});
                        }
                        points.push_back({at_line, line_y[0]});
                        return clean_route(start, points, chart.family[c]);
                    };
                    chart.father_line[c] = partner_route(f.father, drop[comp][d].first,
                                                         rise_way[comp][d].first, descent.paths[0][0]);
                    chart.mother_line[c] = partner_route(f.mother, drop[comp][d].second,
                                                         rise_way[comp][d].second, descent.paths[1][0]);
                    continue;
                }
                const bool apart = walk.couple >= 0 && !side_by_side[static_cast<std::size_t>(walk.couple)];
                const double start_x =
                    !apart ? descent.tops[0]
                    : walk.upper >= 0
                        ? (descent.tops[0] + x[static_cast<std::size_t>(
                                                 lower_partner[static_cast<std::size_t>(walk.couple)])]) / 2
                        : (descent.tops[0] + descent.tops[1] - drop[comp][d].first - drop[comp][d].second) / 2;
                const double top_y = chart_y.layer_y[static_cast<std::size_t>(descent.layer)];
                const auto route_down = [&](const Point& start, const std::vector<double>& path,
                                            int child) {
                    std::vector<Point> points;
                    if (walk.couple < 0 && drop[comp][d].first != 0) { // out of the parent's box
                        points = leave_box(walk.source.person, start_x - drop[comp][d].first, top_y,
                                           drop[comp][d].first);
                    }
                    for (std::size_t k = 0; k < path.size(); ++k) {
                        points.push_back({k == 0 ? start_x : path[k - 1], line_y[k]});
                        points.push_back({path[k], line_y[k]});
                    }
                    const double child_y =
                        chart_y.layer_y[static_cast<std::size_t>(layer[static_cast<std::size_t>(child)])];
                    if (path.back() != x[static_cast<std::size_t>(child)]) {
                        // Moved aside: over to the centre just above the box, under every
                        // family's horizontal line.
                        const double turn = child_y - person_size / 2 - turn_above_box;
                        points.push_back({path.back(), turn});
                        points.push_back({x[static_cast<std::size_t>(child)], turn});
                    }
                    return clean_route(start, points, {x[static_cast<std::size_t>(child)], child_y});
                };
                if (walk.couple < 0) {
                    const Point parent{start_x - drop[comp][d].first, top_y};
                    for (std::size_t k = 0; k < walk.links.size(); ++k) {
                        chart.single_line[walk.links[k]] = route_down(
                            parent, descent.paths[k], families.single_links[walk.links[k]].child);
                    }
                    continue;
                }
                const auto c = static_cast<std::size_t>(walk.couple);
                const Family& f = families.couples[c];
                if (side_by_side[c]) {
                    chart.family[c] = {start_x, top_y};
                } else {
                    chart.family[c] = {start_x, line_y[0]};
                    const auto partner_route = [&](int p, double dx) {
                        const auto pp = static_cast<std::size_t>(p);
                        const Point start{x[pp], chart_y.layer_y[static_cast<std::size_t>(layer[pp])]};
                        std::vector<Point> points = leave_box(p, x[pp], start.y, dx);
                        points.push_back({x[pp] + dx, line_y[0]});
                        return clean_route(start, points, chart.family[c]);
                    };
                    chart.father_line[c] = partner_route(f.father, drop[comp][d].first);
                    chart.mother_line[c] = partner_route(f.mother, drop[comp][d].second);
                    if (walk.upper >= 0) { // down through the layers to the family's space
                        const std::size_t line = std::ranges::find_if(upper_line[comp], [&](const auto& e) {
                                                     return e.first == d;
                                                 })->second;
                        const auto& ly = chart_y.line_y[line];
                        const auto& xs = descents[comp][line].paths[0];
                        const auto up = static_cast<std::size_t>(walk.upper);
                        const double dx = walk.upper == f.father ? drop[comp][d].first : drop[comp][d].second;
                        const Point start{x[up], chart_y.layer_y[static_cast<std::size_t>(layer[up])]};
                        std::vector<Point> points = leave_box(walk.upper, x[up], start.y, dx);
                        for (std::size_t k = 0; k < xs.size(); ++k) {
                            points.push_back({k == 0 ? x[up] + dx : xs[k - 1], ly[k]});
                            points.push_back({xs[k], ly[k]});
                        }
                        points.push_back({xs.back(), line_y[0]});
                        (walk.upper == f.father ? chart.father_line[c] : chart.mother_line[c]) =
                            clean_route(start, points, chart.family[c]);
                    }
                }
                for (std::size_t k = 0; k < f.children.size(); ++k) {
                    chart.child_line[c].push_back(route_down(chart.family[c], descent.paths[k], f.children[k]));
                }
            }
        }
        for (std::size_t c = 0; c < couples; ++c) { // childless couples side by side
            const Family& f = families.couples[c];
            if (side_by_side[c] && f.children.empty()) {
                const double mid = placed.x[static_cast<std::size_t>(unit(f.father))] +
                                   step_offset({0, -1, static_cast<int>(c)});
                chart.family[c] = {mid, layer_y[component_of(f.father)][static_cast<std::size_t>(
                                             layer[static_cast<std::size_t>(f.father)])]};
            }
        }
        for (std::size_t p = 0; p < people; ++p) {
            chart.person[p] = {x[p], layer_y[component_of(static_cast<int>(p))][static_cast<std::size_t>(layer[p])]};
        }

        std::vector<std::size_t> part_of(people);
        for (std::size_t p = 0; p < people; ++p) {
            part_of[p] = component_of(static_cast<int>(p));
        }
        pack_parts(chart, families, part_of, components, person_width);
        return chart;
    };

    std::vector<double> reversed_walk(key.size());
    std::ranges::transform(key, reversed_walk.begin(), [](double k) { return -k; });
    std::vector<double> reversed_file(file_key.size());
    std::ranges::transform(file_key, reversed_file.begin(), [](double k) { return -k; });
    std::vector<double> reversed_back(back_key.size());
    std::ranges::transform(back_key, reversed_back.begin(), [](double k) { return -k; });
    // Each first order's layers ordered; the one crossing least (the first of those) ordered
    // again from shaken copies of itself, laid out and drawn.
    std::vector<std::vector<int>> least;
    long fewest = -1;
    for (const auto* first : {&key, &file_key, &reversed_walk, &reversed_file, &back_key, &reversed_back}) {
        const long crossings = order_from(*first);
        if (fewest < 0 || crossings < fewest) {
            fewest = crossings;
            least = placed.layers;
        }
    }
    placed.layers = std::move(least);
    const std::size_t items = std::max<std::size_t>(placed.width.size(), 1);
    const std::size_t shakes = items <= shaken_items
        ? std::min(items / items_per_shake, shake_work / items) : 0;
    order_layers(placed, static_cast<int>(shakes));
    lay_out();
    return draw_chart();
}

} // namespace kinship::family
