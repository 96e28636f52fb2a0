#include "family_layout/family_chart.h"

#include "family_layout/chart_drawing.h"
#include "family_layout/couple_reach.h"
#include "family_layout/family_drawing.h"
#include "family_layout/layer_order.h"
#include "family_layout/part_placement.h"
#include "family_layout/relationship_stretch.h"
#include "family_layout/row_orientation.h"
#include "family_layout/row_placement.h"
#include "family_layout/row_spread.h"
#include "family_layout/unit_graph.h"
#include "family_layout/unit_order.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <thread>

namespace kinship::family {
namespace {

// Gaps along a layer: between rows of partners, and between a passing line and anything.
constexpr double unit_gap = 20.0;
// Rows of different units keep the gap kinship-draw looks for between names too.
static_assert(unit_gap >= text::slot_gap);
constexpr double line_gap = 10.0;
// Sweep pairs down and up placing the rows along the layers.
constexpr int placement_sweeps = 12;
// The best order is shaken at most once for every `items_per_shake` items, and at most
// `shake_work` items moved through in all, on charts of at most `shaken_items` items (on
// larger ones a try takes seconds): enough for the ordering to find most of what shaking
// finds, within the time of one layered drawing.
constexpr std::size_t items_per_shake = 8;
constexpr std::size_t shake_work = 1000000;
constexpr std::size_t shaken_items = 20000;
// Rows are spread person by person in parts whose linear program has at most this many
// columns: its time grows quickly with its size (5 ms at 800 columns, 10 ms at 1,160,
// 27 ms at 2,700), and beyond this it takes as long as the rest of the layout.
constexpr std::size_t spread_columns = 1000;

int find(std::vector<int>& parent, int v)
{
    while (parent[static_cast<std::size_t>(v)] != v) {
        parent[static_cast<std::size_t>(v)] =
            parent[static_cast<std::size_t>(parent[static_cast<std::size_t>(v)])];
        v = parent[static_cast<std::size_t>(v)];
    }
    return v;
}

// Runs `work(0)` and `work(1)`: side by side where there are two cores, else one after
// the other.
template <typename Work>
void in_two(const Work& work)
{
    if (std::thread::hardware_concurrency() > 1) {
        const std::jthread helper(work, std::size_t{1});
        work(std::size_t{0});
    } else {
        work(std::size_t{0});
        work(std::size_t{1});
    }
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

    // Each person's offset from their row's centre; partners stand partner_gap apart,
    // farther where their relationship line is stretched.
    Stretches stretched;
    std::vector<double> offset(people);
    std::vector<double> row_width(unit_count);
    const auto measure_rows = [&] {
        for (std::size_t u = 0; u < unit_count; ++u) {
            const auto& row = units.members[u];
            const RowMeasure measured = measure_row(row, stretched, width);
            for (std::size_t k = 0; k < row.size(); ++k) {
                const auto p = static_cast<std::size_t>(row[k]);
                offset[p] = measured.offset[k];
            }
            row_width[u] = measured.width;
        }
    };
    measure_rows();
    const std::vector<char> side_by_side = couples_side_by_side(families, units);
    std::vector<int> lower_partner(couples);
    for (std::size_t c = 0; c < couples; ++c) {
        const Family& f = families.couples[c];
        lower_partner[c] = layer[static_cast<std::size_t>(f.father)] >=
                                   layer[static_cast<std::size_t>(f.mother)]
                               ? f.father
                               : f.mother;
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
        return (offset[static_cast<std::size_t>(f.father)] +
                offset[static_cast<std::size_t>(f.mother)]) / 2;
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
            walk.meeting = passage(component_of(lower),
                                   lower_layer + (walk.meeting_below ? 1 : -1), lower);
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

    // The lines of every walk as the placement's links; a family's lines down from its
    // point carry its number. The other partner's lines of a couple apart in one layer let
    // the order weigh the family from both partners, as it hangs from the middle between.
    const auto link_walks = [&] {
        placed.links.clear();
        int family = 0;
        for (const auto& component_walks : walks) {
            for (const Walk& walk : component_walks) {
                for_each_line(walk, families, unit,
                              [&](const Step& from, const Step& to, bool down_to_child) {
                    const bool from_point = down_to_child && from.item == walk.source.item;
                    placed.links.push_back({from.item, step_offset(from), to.item,
                                            step_offset(to), from_point ? family : -1,
                                            down_to_child ? middle_offset(from) : 0.0,
                                            down_to_child && walk.couple < 0});
                });
                ++family;
            }
        }
    };
    link_walks();
    placed.x.assign(placed.width.size(), 0.0);
    // The layers of `trial` in the order of `first` within each, then ordered.
    const auto order_from = [&](const std::vector<double>& first, PlacedLayers& trial) {
        std::vector<std::size_t> by_layer(trial.width.size());
        std::iota(by_layer.begin(), by_layer.end(), 0);
        std::ranges::sort(by_layer, [&](std::size_t a, std::size_t b) {
            return item_layer[a] != item_layer[b] ? item_layer[a] < item_layer[b]
                                                  : first[a] < first[b];
        });
        trial.layers.clear();
        trial.depth.clear();
        trial.part.clear();
        for (std::size_t k = 0; k < by_layer.size(); ++k) {
            if (k == 0 || item_layer[by_layer[k]] != item_layer[by_layer[k - 1]]) {
                trial.layers.emplace_back();
                trial.depth.push_back(item_layer[by_layer[k]].second);
                trial.part.push_back(static_cast<int>(item_layer[by_layer[k]].first));
            }
            trial.layers.back().push_back(static_cast<int>(by_layer[k]));
        }
        order_layers(trial, 0);
        return count_crossings(trial);
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

    std::vector<double> reversed_walk(key.size());
    std::ranges::transform(key, reversed_walk.begin(), [](double k) { return -k; });
    std::vector<double> reversed_file(file_key.size());
    std::ranges::transform(file_key, reversed_file.begin(), [](double k) { return -k; });
    std::vector<double> reversed_back(back_key.size());
    std::ranges::transform(back_key, reversed_back.begin(), [](double k) { return -k; });
    // Each first order's layers ordered, the one crossing least (the first of those) kept;
    // then two fixed sequences of shaken copies of it tried, and the cheapest mix of their
    // two outcomes laid out and drawn. Two workers share the work where there are two
    // cores; the outcome is the same either way.
    const std::array firsts{&key, &file_key, &reversed_walk,
                            &reversed_file, &back_key, &reversed_back};
    PlacedLayers other = placed;
    const std::array<PlacedLayers*, 2> trials{&placed, &other};
    std::array<long, firsts.size()> crossings{};
    std::array<std::vector<std::vector<int>>, firsts.size()> ordered;
    in_two([&](std::size_t worker) {
        for (std::size_t f = worker; f < firsts.size(); f += 2) {
            crossings[f] = order_from(*firsts[f], *trials[worker]);
            ordered[f] = trials[worker]->layers;
        }
    });
    const auto least =
        static_cast<std::size_t>(std::ranges::min_element(crossings) - crossings.begin());
    placed.layers = ordered[least];
    other.layers = std::move(ordered[least]);
    const std::size_t items = std::max<std::size_t>(placed.width.size(), 1);
    const std::size_t shakes = items <= shaken_items
        ? std::min(items / items_per_shake, shake_work / items) : 0;
    in_two([&](std::size_t worker) {
        order_layers(*trials[worker], static_cast<int>(shakes), worker);
    });
    keep_cheapest_mix(placed, other.layers);
    lay_out();

    // Couples brought over their children where the layers have room, then rows spread
    // person by person where they crowd: the people moved keep their new places as offsets
    // in their rows.
    std::vector<double> person_x(people);
    for (std::size_t p = 0; p < people; ++p) {
        person_x[p] = placed.x[static_cast<std::size_t>(unit(static_cast<int>(p)))] + offset[p];
    }
    std::vector<double> reached = person_x;
    reach_children(families, units, placed, width, {unit_gap, line_gap, person_size / 2}, reached);
    spread_rows(families, units, placed, walks, width,
                {unit_gap, partner_gap, line_gap, person_size / 2,
                 person_size + 2 * family_node_size + line_gap},
                spread_columns, reached);
    for (std::size_t p = 0; p < people; ++p) {
        offset[p] += reached[p] - person_x[p];
    }

    LaidOutChart laid_out{families, person_width, {}, layer, {}, {},
                          {}, walks, side_by_side, lower_partner, at};
    for (std::size_t p = 0; p < people; ++p) {
        const int item = unit(static_cast<int>(p));
        laid_out.x.push_back(placed.x[static_cast<std::size_t>(item)] + offset[p]);
        laid_out.part.push_back(component_of(static_cast<int>(p)));
        laid_out.row.push_back(item);
    }
    for (const auto& h : heights) {
        laid_out.layers.push_back(h.size());
    }
    return draw_chart(laid_out);
}

} // namespace kinship::family
