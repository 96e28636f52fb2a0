#include "family_layout/flow_placement.h"

#include <ogdf/basic/Graph.h>
#include <ogdf/graphalg/MinCostFlowReinelt.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace kinship::family {
namespace {

// Positions are solved in integers, in eighths of a unit; every least distance is rounded
// up, so the gaps hold.
constexpr double scale = 8.0;
// A family is aimed this far inside its children's span, so that where it stands on the
// edge, rounding in what reads the drawing cannot put it outside.
constexpr double margin = 1.0;

// x[head] - x[tail] >= length, costing weight * (x[head] - x[tail]).
struct Arc {
    int tail;
    int head;
    double length;
    int weight;
};

} // namespace

std::vector<double> distances_off_children(const PlacedLayers& placed, double tolerance)
{
    const auto family_links = links_by_family(placed);
    std::vector<double> distance(family_links.size(), 0.0);
    for (std::size_t f = 0; f < family_links.size(); ++f) {
        if (family_links[f].empty()) {
            continue;
        }
        double lo = 1e300;
        double hi = -1e300;
        for (const std::size_t l : family_links[f]) {
            const PlacedLayers::Link& link = placed.links[l];
            const double end = placed.x[static_cast<std::size_t>(link.lower)] + link.lower_offset;
            lo = std::min(lo, end - tolerance);
            hi = std::max(hi, end + tolerance);
        }
        const PlacedLayers::Link& from = placed.links[family_links[f].front()];
        const double at = placed.x[static_cast<std::size_t>(from.upper)];
        distance[f] = std::max({0.0, lo - at - std::min(from.upper_offset, from.middle_offset),
                                at + std::max(from.upper_offset, from.middle_offset) - hi});
    }
    return distance;
}

std::size_t flow_nodes(const PlacedLayers& placed)
{
    std::size_t families = 0;
    for (const auto& links : links_by_family(placed)) {
        families += links.empty() ? 0 : 1;
    }
    return placed.x.size() + placed.links.size() + 2 * families;
}

bool place_by_flow(PlacedLayers& placed, double box_gap, double line_gap, double tolerance,
                   const std::vector<int>& weights)
{
    const std::size_t items = placed.x.size();
    std::vector<int> position(items, 0);
    for (const auto& layer : placed.layers) {
        for (std::size_t k = 0; k < layer.size(); ++k) {
            position[static_cast<std::size_t>(layer[k])] = static_cast<int>(k);
        }
    }
    int nodes = static_cast<int>(items);
    std::vector<Arc> arcs;
    // The order and the gaps along each layer.
    for (const auto& layer : placed.layers) {
        for (std::size_t k = 1; k < layer.size(); ++k) {
            const auto a = static_cast<std::size_t>(layer[k - 1]);
            const auto b = static_cast<std::size_t>(layer[k]);
            const double gap = (placed.width[a] + placed.width[b]) / 2 +
                               (placed.width[a] > 0 && placed.width[b] > 0 ? box_gap : line_gap);
            arcs.push_back({layer[k - 1], layer[k], gap, 0});
        }
    }
    // A line's sideways run |a - b|: a node n below both ends, costing (a - n) + (b - n).
    for (const PlacedLayers::Link& link : placed.links) {
        const int n = nodes++;
        arcs.push_back({n, link.upper, -link.upper_offset, 1});
        arcs.push_back({n, link.lower, -link.lower_offset, 1});
    }
    // A family's distance outside its children's span on the left: a node at the larger of
    // its point and the span's left end, costing its distance from the point; on the right
    // likewise. Of the point and the middle, the one farther out counts.
    const auto family_links = links_by_family(placed);
    for (std::size_t f = 0; f < family_links.size(); ++f) {
        const auto& links = family_links[f];
        if (links.empty()) {
            continue;
        }
        const auto end_key = [&](std::size_t l) {
            return std::pair{position[static_cast<std::size_t>(placed.links[l].lower)],
                             placed.links[l].lower_offset};
        };
        const auto [left, right] = std::ranges::minmax(links, {}, end_key);
        const PlacedLayers::Link& from = placed.links[links.front()];
        const PlacedLayers::Link& first = placed.links[left];
        const PlacedLayers::Link& last = placed.links[right];
        const double reach = tolerance - margin;
        const int below_left = nodes++;
        arcs.push_back({from.upper, below_left, 0.0, weights[f]});
        arcs.push_back({first.lower, below_left,
                        first.lower_offset - reach - std::min(from.upper_offset, from.middle_offset), 0});
        const int beyond_right = nodes++;
        arcs.push_back({last.lower, beyond_right, 0.0, weights[f]});
        arcs.push_back({from.upper, beyond_right,
                        std::max(from.upper_offset, from.middle_offset) - last.lower_offset - reach, 0});
    }

    // A lone item, or two side by side and nothing else, stands anywhere: the solver skips
    // networks that small without setting any potential.
    if (nodes < 2 || arcs.size() < 2) {
        return true;
    }
    // The dual: a flow along the arcs, each node supplying the weights of the arcs leaving
    // it less those entering it, each arc costing minus its length.
    ogdf::Graph graph;
    std::vector<ogdf::node> node(static_cast<std::size_t>(nodes));
    for (auto& v : node) {
        v = graph.newNode();
    }
    std::vector<ogdf::edge> edge;
    edge.reserve(arcs.size());
    for (const Arc& a : arcs) {
        edge.push_back(graph.newEdge(node[static_cast<std::size_t>(a.tail)],
                                     node[static_cast<std::size_t>(a.head)]));
    }
    // Costs and potentials in 64 bits: the solver's artificial cost is the largest cost
    // times the number of nodes, more than 32 bits hold on wide charts.
    ogdf::EdgeArray<int> lower(graph, 0), upper(graph, 0), flow(graph, 0);
    ogdf::EdgeArray<std::int64_t> cost(graph, 0);
    ogdf::NodeArray<int> supply(graph, 0);
    ogdf::NodeArray<std::int64_t> potential(graph, 0);
    int total = 1;
    for (std::size_t e = 0; e < arcs.size(); ++e) {
        const Arc& a = arcs[e];
        cost[edge[e]] = -static_cast<std::int64_t>(std::ceil(a.length * scale));
        supply[node[static_cast<std::size_t>(a.tail)]] += a.weight;
        supply[node[static_cast<std::size_t>(a.head)]] -= a.weight;
        total += a.weight;
    }
    for (const ogdf::edge e : edge) {
        upper[e] = total; // more than any flow needs: unbounded
    }
    ogdf::MinCostFlowReinelt<std::int64_t> solver;
    if (!solver.call(graph, lower, upper, cost, supply, flow, potential)) {
        return false;
    }
    for (std::size_t e = 0; e < arcs.size(); ++e) {
        if (potential[edge[e]->target()] - potential[edge[e]->source()] < -cost[edge[e]]) {
            return false;
        }
    }
    for (std::size_t i = 0; i < items; ++i) {
        placed.x[i] = static_cast<double>(potential[node[i]]) / scale;
    }
    return true;
}

} // namespace kinship::family
