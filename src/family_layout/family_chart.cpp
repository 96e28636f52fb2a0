#include "family_layout/family_chart.h"

#include "family_layout/chart_routes.h"
#include "family_layout/family_drawing.h"
#include "family_layout/row_placement.h"
#include "family_layout/shelf_packing.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace kinship::family {
namespace {

constexpr double component_gap = 40.0;
// Gaps along a layer: between rows of partners, and between a passing line and anything.
constexpr double unit_gap = 20.0;
constexpr double line_gap = 10.0;

// The line indices of the unit graph (see unit_graph.cpp for their order).
struct UnitLines {
    std::vector<std::size_t> father, mother;
    std::vector<std::vector<std::size_t>> child;
    std::vector<std::size_t> single;
};

UnitLines unit_lines(const Families& families, const Units& units)
{
    UnitLines lines;
    std::size_t next = 0;
    for (const Family& family : families.couples) {
        lines.father.push_back(next++);
        const bool one_row = units.unit_of[static_cast<std::size_t>(family.father)] ==
                             units.unit_of[static_cast<std::size_t>(family.mother)];
        lines.mother.push_back(one_row ? lines.father.back() : next++);
        auto& children = lines.child.emplace_back();
        for (std::size_t k = 0; k < family.children.size(); ++k) {
            children.push_back(next++);
        }
    }
    for (std::size_t k = 0; k < families.single_links.size(); ++k) {
        lines.single.push_back(next++);
    }
    return lines;
}

int find(std::vector<int>& parent, int v)
{
    while (parent[static_cast<std::size_t>(v)] != v) {
        parent[static_cast<std::size_t>(v)] =
            parent[static_cast<std::size_t>(parent[static_cast<std::size_t>(v)])];
        v = parent[static_cast<std::size_t>(v)];
    }
    return v;
}

// Components of the unit graph numbered in the order of their first node, and each
// unit's layer within its component: the rank of its height among the heights of the
// component's rows (the couples' own layers of the layout are not layers of people).
struct Layers {
    std::vector<int> component; // per unit-graph node
    int components = 0;
    std::vector<int> layer;                   // per unit
    std::vector<std::vector<double>> heights; // per component, the layout's y of each layer
};

Layers find_layers(const UnitGraph& graph, std::size_t unit_count, const UnitPlacement& placement)
{
    std::vector<int> parent(static_cast<std::size_t>(graph.nodes));
    std::iota(parent.begin(), parent.end(), 0);
    for (const UnitEdge& e : graph.edges) {
        parent[static_cast<std::size_t>(find(parent, e.source))] = find(parent, e.target);
    }
    Layers layers;
    layers.component.assign(parent.size(), -1);
    std::vector<int> number(parent.size(), -1);
    for (int v = 0; v < graph.nodes; ++v) {
        const auto root = static_cast<std::size_t>(find(parent, v));
        if (number[root] < 0) {
            number[root] = layers.components++;
        }
        layers.component[static_cast<std::size_t>(v)] = number[root];
    }
    layers.heights.resize(static_cast<std::size_t>(layers.components));
    for (std::size_t u = 0; u < unit_count; ++u) {
        layers.heights[static_cast<std::size_t>(layers.component[u])].push_back(
            placement.y(static_cast<int>(u)));
    }
    for (auto& heights : layers.heights) {
        std::ranges::sort(heights);
        heights.erase(std::unique(heights.begin(), heights.end()), heights.end());
    }
    layers.layer.resize(unit_count);
    for (std::size_t u = 0; u < unit_count; ++u) {
        const auto& heights = layers.heights[static_cast<std::size_t>(layers.component[u])];
        layers.layer[u] = static_cast<int>(
            std::ranges::lower_bound(heights, placement.y(static_cast<int>(u))) - heights.begin());
    }
    return layers;
}

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

// Every coordinate on a grid of 1/1024 unit: points that the placement put a rounding
// error apart line up exactly, so vertical lines are vertical, and the drawing file
// writes short numbers.
void snap_to_grid(Chart& chart)
{
    const auto snap = [](Point& p) {
        p.x = std::round(p.x * 1024) / 1024;
        p.y = std::round(p.y * 1024) / 1024;
    };
    std::ranges::for_each(chart.person, snap);
    std::ranges::for_each(chart.family, snap);
    for (auto* lines : {&chart.father_line, &chart.mother_line, &chart.single_line}) {
        for (Route& r : *lines) {
            std::ranges::for_each(r, snap);
        }
    }
    for (auto& routes : chart.child_line) {
        for (Route& r : routes) {
            std::ranges::for_each(r, snap);
        }
    }
}

// One descent and the lines it draws.
struct DescentOf {
    int couple = -1;                  // or -1 for a single parent's children
    std::vector<std::size_t> links;   // the single links, for a single parent
    double start_x = 0;               // where its lines start: the family node or the parent
};

} // namespace

Chart family_chart(const Families& families, const Units& units,
                   std::span<const double> person_width, const UnitPlacement& placement)
{
    const std::size_t people = units.unit_of.size();
    const std::size_t unit_count = units.members.size();
    const UnitGraph graph = unit_graph(families, units);
    const Layers layers = find_layers(graph, unit_count, placement);
    const UnitLines lines = unit_lines(families, units);
    const auto width = [&](int p) {
        return person_width.empty() ? person_size : person_width[static_cast<std::size_t>(p)];
    };

    // Rows of people and the points where long lines pass a layer, as items to place.
    PlacedLayers placed;
    std::vector<double> offset(people); // of each person's centre from their row's
    std::vector<int> layer(people);
    std::vector<int> place_in_row(people);
    for (std::size_t u = 0; u < unit_count; ++u) {
        const auto& row = units.members[u];
        const double row_w = row_width(row, person_width);
        double left = -row_w / 2;
        for (std::size_t k = 0; k < row.size(); ++k) {
            const auto p = static_cast<std::size_t>(row[k]);
            offset[p] = left + width(row[k]) / 2;
            left += width(row[k]) + partner_gap;
            layer[p] = layers.layer[u];
            place_in_row[p] = static_cast<int>(k);
        }
        placed.x.push_back(placement.x(static_cast<int>(u)));
        placed.width.push_back(row_w);
    }
    const auto unit = [&](int p) { return units.unit_of[static_cast<std::size_t>(p)]; };
    const auto component_of = [&](int p) {
        return layers.component[static_cast<std::size_t>(unit(p))];
    };
    const auto layer_height = [&](int p, int l) {
        return layers.heights[static_cast<std::size_t>(component_of(p))][static_cast<std::size_t>(l)];
    };
    std::vector<std::pair<int, int>> item_layer(unit_count); // (component, layer)
    for (std::size_t u = 0; u < unit_count; ++u) {
        item_layer[u] = {layers.component[u], layers.layer[u]};
    }
    const auto passage = [&](int p, int l, double x) {
        placed.x.push_back(x);
        placed.width.push_back(0.0);
        item_layer.emplace_back(component_of(p), l);
        return static_cast<int>(placed.x.size() - 1);
    };
    struct Step {
        int item;
        double offset;
    };
    // Per descent: where its lines start, and each child's steps down.
    struct Walk {
        Step source;
        std::vector<std::vector<Step>> paths;
    };

    const auto components = static_cast<std::size_t>(layers.components);
    std::vector<std::vector<Walk>> walks(components);
    std::vector<std::vector<DescentOf>> owners(components);
    std::vector<char> side_by_side(families.couples.size(), 0);
    std::vector<int> lower_partner(families.couples.size());
    for (std::size_t c = 0; c < families.couples.size(); ++c) {
        const Family& f = families.couples[c];
        const auto fa = static_cast<std::size_t>(f.father);
        const auto mo = static_cast<std::size_t>(f.mother);
        side_by_side[c] = unit(f.father) == unit(f.mother) &&
                          std::abs(place_in_row[fa] - place_in_row[mo]) == 1;
        const int lower = layer[fa] >= layer[mo] ? f.father : f.mother;
        lower_partner[c] = lower;
        if (side_by_side[c] && f.children.empty()) {
            continue;
        }
        Walk walk;
        const int left = offset[fa] < offset[mo] ? f.father : f.mother;
        const int right = left == f.father ? f.mother : f.father;
        walk.source = side_by_side[c]
            ? Step{unit(lower), (offset[static_cast<std::size_t>(left)] + width(left) / 2 +
                                 offset[static_cast<std::size_t>(right)] - width(right) / 2) / 2}
            : Step{unit(lower), offset[static_cast<std::size_t>(lower)]};
        const int top = layer[static_cast<std::size_t>(lower)];
        const double couple_y = placement.y(static_cast<int>(unit_count + c));
        const std::size_t to_couple = lower == f.father ? lines.father[c] : lines.mother[c];
        // One trunk down through the layers above the children: a passage per layer.
        std::vector<int> trunk;
        for (std::size_t k = 0; k < f.children.size(); ++k) {
            const int child = f.children[k];
            auto& path = walk.paths.emplace_back();
            for (int l = top + 1; l < layer[static_cast<std::size_t>(child)]; ++l) {
                const double y = layer_height(child, l);
                const auto at = static_cast<std::size_t>(l - top - 1);
                if (trunk.size() <= at) {
                    trunk.push_back(passage(child, l, y < couple_y
                                                          ? placement.x_at(to_couple, y)
                                                          : placement.x_at(lines.child[c][k], y)));
                }
                path.push_back({trunk[at], 0.0});
            }
            path.push_back({unit(child), offset[static_cast<std::size_t>(child)]});
        }
        const auto comp = static_cast<std::size_t>(component_of(f.father));
        walks[comp].push_back(std::move(walk));
        owners[comp].push_back({static_cast<int>(c), {}, 0});
    }
    std::vector<int> single_descent(people, -1);
    std::vector<std::vector<int>> single_trunk(people);
    for (std::size_t k = 0; k < families.single_links.size(); ++k) {
        const ParentLink& link = families.single_links[k];
        const auto parent = static_cast<std::size_t>(link.parent);
        const auto comp = static_cast<std::size_t>(component_of(link.parent));
        if (single_descent[parent] < 0) {
            single_descent[parent] = static_cast<int>(walks[comp].size());
            walks[comp].push_back({{unit(link.parent), offset[parent]}, {}});
            owners[comp].push_back({-1, {}, 0});
        }
        const auto d = static_cast<std::size_t>(single_descent[parent]);
        owners[comp][d].links.push_back(k);
        auto& path = walks[comp][d].paths.emplace_back();
        auto& trunk = single_trunk[parent];
        for (int l = layer[parent] + 1; l < layer[static_cast<std::size_t>(link.child)]; ++l) {
            const auto at = static_cast<std::size_t>(l - layer[parent] - 1);
            if (trunk.size() <= at) {
                trunk.push_back(passage(
                    link.child, l, placement.x_at(lines.single[k], layer_height(link.child, l))));
            }
            path.push_back({trunk[at], 0.0});
        }
        path.push_back({unit(link.child), offset[static_cast<std::size_t>(link.child)]});
    }

    // Items placed along their layers, families over their children.
    std::vector<std::size_t> by_layer(placed.x.size());
    std::iota(by_layer.begin(), by_layer.end(), 0);
    std::ranges::sort(by_layer, [&](std::size_t a, std::size_t b) {
        return item_layer[a] != item_layer[b] ? item_layer[a] < item_layer[b]
                                              : placed.x[a] < placed.x[b];
    });
    for (std::size_t k = 0; k < by_layer.size(); ++k) {
        if (k == 0 || item_layer[by_layer[k]] != item_layer[by_layer[k - 1]]) {
            placed.layers.emplace_back();
            placed.depth.push_back(item_layer[by_layer[k]].second);
        }
        placed.layers.back().push_back(static_cast<int>(by_layer[k]));
    }
    for (const auto& component_walks : walks) {
        for (const Walk& walk : component_walks) {
            for (const auto& path : walk.paths) {
                Step from = walk.source;
                for (const Step& to : path) {
                    placed.links.push_back({from.item, from.offset, to.item, to.offset});
                    from = to;
                }
            }
        }
    }
    place_along_layers(placed, unit_gap, line_gap);

    std::vector<double> x(people);
    for (std::size_t p = 0; p < people; ++p) {
        x[p] = placed.x[static_cast<std::size_t>(unit(static_cast<int>(p)))] + offset[p];
    }
    const auto at = [&](const Step& s) {
        return placed.x[static_cast<std::size_t>(s.item)] + s.offset;
    };
    std::vector<std::vector<Descent>> descents(components);
    for (std::size_t comp = 0; comp < components; ++comp) {
        for (std::size_t d = 0; d < walks[comp].size(); ++d) {
            const Walk& walk = walks[comp][d];
            DescentOf& owner = owners[comp][d];
            Descent descent;
            owner.start_x = at(walk.source);
            if (owner.couple >= 0) {
                const Family& f = families.couples[static_cast<std::size_t>(owner.couple)];
                descent.layer = layer[static_cast<std::size_t>(lower_partner[static_cast<std::size_t>(owner.couple)])];
                if (side_by_side[static_cast<std::size_t>(owner.couple)]) {
                    descent.tops = {owner.start_x};
                } else {
                    owner.start_x = (x[static_cast<std::size_t>(f.father)] +
                                     x[static_cast<std::size_t>(f.mother)]) / 2;
                    descent.tops = {x[static_cast<std::size_t>(f.father)],
                                    x[static_cast<std::size_t>(f.mother)]};
                }
            } else {
                const int parent = families.single_links[owner.links.front()].parent;
                descent.layer = layer[static_cast<std::size_t>(parent)];
                descent.tops = {owner.start_x};
            }
            for (const auto& path : walk.paths) {
                auto& xs = descent.paths.emplace_back();
                for (const Step& s : path) {
                    xs.push_back(at(s));
                }
            }
            descents[comp].push_back(std::move(descent));
        }
    }

    // Heights per component, then the routes in the component's own frame.
    Chart chart;
    chart.person.resize(people);
    chart.family.resize(families.couples.size());
    chart.father_line.resize(families.couples.size());
    chart.mother_line.resize(families.couples.size());
    chart.child_line.resize(families.couples.size());
    chart.single_line.resize(families.single_links.size());
    std::vector<std::vector<double>> layer_y(components);
    for (std::size_t comp = 0; comp < components; ++comp) {
        const ChartHeights heights = chart_heights(
            static_cast<int>(layers.heights[comp].size()), person_size, descents[comp]);
        layer_y[comp] = heights.layer_y;
        chart.layers = std::max(chart.layers, static_cast<int>(heights.layer_y.size()));
        for (std::size_t d = 0; d < descents[comp].size(); ++d) {
            const Descent& descent = descents[comp][d];
            const DescentOf& owner = owners[comp][d];
            const auto& line_y = heights.line_y[d];
            const double top_y = heights.layer_y[static_cast<std::size_t>(descent.layer)];
            const auto route_down = [&](const Point& start, const std::vector<double>& path,
                                        int child) {
                std::vector<Point> points;
                for (std::size_t k = 0; k < path.size(); ++k) {
                    points.push_back({k == 0 ? owner.start_x : path[k - 1], line_y[k]});
                    points.push_back({path[k], line_y[k]});
                }
                const double child_y =
                    heights.layer_y[static_cast<std::size_t>(layer[static_cast<std::size_t>(child)])];
                return clean_route(start, points, {path.back(), child_y});
            };
            if (owner.couple < 0) {
                for (std::size_t k = 0; k < owner.links.size(); ++k) {
                    const ParentLink& link = families.single_links[owner.links[k]];
                    chart.single_line[owner.links[k]] =
                        route_down({owner.start_x, top_y}, descent.paths[k], link.child);
                }
                continue;
            }
            const auto c = static_cast<std::size_t>(owner.couple);
            const Family& f = families.couples[c];
            if (side_by_side[c]) {
                chart.family[c] = {owner.start_x, top_y};
            } else {
                chart.family[c] = {owner.start_x, line_y[0]};
                const auto partner_route = [&](int p) {
                    const auto pp = static_cast<std::size_t>(p);
                    const Point start{x[pp], heights.layer_y[static_cast<std::size_t>(layer[pp])]};
                    return clean_route(start, {{x[pp], line_y[0]}}, chart.family[c]);
                };
                chart.father_line[c] = partner_route(f.father);
                chart.mother_line[c] = partner_route(f.mother);
            }
            for (std::size_t k = 0; k < f.children.size(); ++k) {
                chart.child_line[c].push_back(
                    route_down(chart.family[c], descent.paths[k], f.children[k]));
            }
        }
    }
    for (std::size_t c = 0; c < families.couples.size(); ++c) {
        if (side_by_side[c] && families.couples[c].children.empty()) {
            const auto fa = static_cast<std::size_t>(families.couples[c].father);
            const auto mo = static_cast<std::size_t>(families.couples[c].mother);
            const auto comp = static_cast<std::size_t>(component_of(families.couples[c].father));
            const int left = x[fa] < x[mo] ? families.couples[c].father : families.couples[c].mother;
            const int right = left == families.couples[c].father ? families.couples[c].mother
                                                                 : families.couples[c].father;
            chart.family[c] = {(x[static_cast<std::size_t>(left)] + width(left) / 2 +
                                x[static_cast<std::size_t>(right)] - width(right) / 2) / 2,
                               layer_y[comp][static_cast<std::size_t>(layer[fa])]};
        }
    }
    for (std::size_t p = 0; p < people; ++p) {
        const auto comp = static_cast<std::size_t>(component_of(static_cast<int>(p)));
        chart.person[p] = {x[p], layer_y[comp][static_cast<std::size_t>(layer[p])]};
    }

    // Each component's box, then the components packed in rows, tallest first.
    std::vector<double> left(components, 1e300), right(components, -1e300), bottom(components, 0);
    const auto take = [&](std::size_t comp, double lo, double hi, double low) {
        left[comp] = std::min(left[comp], lo);
        right[comp] = std::max(right[comp], hi);
        bottom[comp] = std::max(bottom[comp], low);
    };
    for (std::size_t p = 0; p < people; ++p) {
        const auto comp = static_cast<std::size_t>(component_of(static_cast<int>(p)));
        const double w = width(static_cast<int>(p)) / 2;
        take(comp, x[p] - w, x[p] + w, chart.person[p].y + person_size / 2);
    }
    const auto take_route = [&](std::size_t comp, const Route& route) {
        for (const Point& b : route) {
            take(comp, b.x, b.x, b.y);
        }
    };
    for (std::size_t c = 0; c < families.couples.size(); ++c) {
        const auto comp = static_cast<std::size_t>(component_of(families.couples[c].father));
        take_route(comp, chart.father_line[c]);
        take_route(comp, chart.mother_line[c]);
        for (const Route& r : chart.child_line[c]) {
            take_route(comp, r);
        }
    }
    for (std::size_t k = 0; k < families.single_links.size(); ++k) {
        take_route(static_cast<std::size_t>(component_of(families.single_links[k].parent)),
                   chart.single_line[k]);
    }
    std::vector<std::size_t> order(components);
    std::iota(order.begin(), order.end(), 0);
    std::ranges::stable_sort(order, [&](std::size_t a, std::size_t b) {
        return bottom[a] > bottom[b];
    });
    std::vector<Box> boxes;
    for (const std::size_t comp : order) {
        boxes.push_back({right[comp] - left[comp], bottom[comp]});
    }
    const std::vector<Offset> packed = pack_in_rows(boxes, component_gap);
    std::vector<Offset> shift(components);
    for (std::size_t k = 0; k < components; ++k) {
        shift[order[k]] = {packed[k].x - left[order[k]], packed[k].y};
    }
    const auto move = [&](std::size_t comp, Point& p) {
        p.x += shift[comp].x;
        p.y += shift[comp].y;
    };
    for (std::size_t p = 0; p < people; ++p) {
        move(static_cast<std::size_t>(component_of(static_cast<int>(p))), chart.person[p]);
    }
    for (std::size_t c = 0; c < families.couples.size(); ++c) {
        const auto comp = static_cast<std::size_t>(component_of(families.couples[c].father));
        move(comp, chart.family[c]);
        for (Route* r : {&chart.father_line[c], &chart.mother_line[c]}) {
            for (Point& b : *r) {
                move(comp, b);
            }
        }
        for (Route& r : chart.child_line[c]) {
            for (Point& b : r) {
                move(comp, b);
            }
        }
    }
    for (std::size_t k = 0; k < families.single_links.size(); ++k) {
        for (Point& b : chart.single_line[k]) {
            move(static_cast<std::size_t>(component_of(families.single_links[k].parent)), b);
        }
    }
    snap_to_grid(chart);
    return chart;
}

} // namespace kinship::family
