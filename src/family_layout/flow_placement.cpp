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

// Costs `weight` for each unit that x[tail] + length lies right of x[head]; with weight 0
// it must not (x[head] - x[tail] >= length).
struct Arc {
    int tail;
    int head;
    double length;
    int weight;
};

} // namespace

int weight_off_children(double distance, double halved_at)
{
    return std::max(1, static_cast<int>(std::lround(family_weight * halved_at /
                                                    (distance + halved_at))));
}

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

std::size_t flow_arcs(const PlacedLayers& placed)
{
    std::size_t arcs = 2 * placed.links.size();
    for (const auto& layer : placed.layers) {
        arcs += layer.empty() ? 0 : layer.size() - 1;
    }
    for (const auto& links : links_by_family(placed)) {
        arcs += links.empty() ? 0 : 2;
    }
    return arcs;
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
    const int nodes = static_cast<int>(items);
    std::vector<Arc> arcs;
    // The least distance between the centres of neighbours a and b.
    const auto least = [&](int a, int b) {
        const double wa = placed.width[static_cast<std::size_t>(a)];
        const double wb = placed.width[static_cast<std::size_t>(b)];
        return (wa + wb) / 2 + (wa > 0 && wb > 0 ? box_gap : line_gap);
    };
    // The order and the gaps along each layer.
    for (const auto& layer : placed.layers) {
        for (std::size_t k = 1; k < layer.size(); ++k) {
            arcs.push_back({layer[k - 1], layer[k], least(layer[k - 1], layer[k]), 0});
        }
    }
    // A line's sideways run: one for each unit its upper end lies right of its lower end,
    // and each unit left.
    for (const PlacedLayers::Link& link : placed.links) {
        const double run = link.upper_offset - link.lower_offset;
        arcs.push_back({link.upper, link.lower, run, line_weight});
        arcs.push_back({link.lower, link.upper, -run, line_weight});
    }
    // A family's distance outside its children's span, on the left and on the right. Of
    // the point and the middle, the one farther out counts.
    const auto family_links = links_by_family(placed);
    std::vector<std::size_t> by_end;
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
        const double reach = tolerance - span_margin;
        arcs.push_back({first.lower, from.upper,
                        first.lower_offset - reach - std::min(from.upper_offset, from.middle_offset),
                        line_weight * weights[f]});
        arcs.push_back({from.upper, last.lower,
                        std::max(from.upper_offset, from.middle_offset) - last.lower_offset - reach,
                        line_weight * weights[f]});
        // Where places cost alike otherwise, the family's point stands over its middle
        // child, or halfway between the middle two where they stand at their least
        // distance (between them otherwise).
        if (links.size() > 1) {
            by_end.assign(links.begin(), links.end());
            std::ranges::sort(by_end, {}, end_key);
            const PlacedLayers::Link& mid_left = placed.links[by_end[(by_end.size() - 1) / 2]];
            const PlacedLayers::Link& mid_right = placed.links[by_end[by_end.size() / 2]];
            const int a = mid_left.lower;
            const int b = mid_right.lower;
            double half = 0;
            const bool neighbours =
                position[static_cast<std::size_t>(b)] - position[static_cast<std::size_t>(a)] <= 1;
            if (&mid_left != &mid_right && neighbours) {
                half = ((a == b ? 0.0 : least(a, b)) + mid_right.lower_offset -
                        mid_left.lower_offset) / 2;
            }
            for (const auto& [to, shift] :
                 {std::pair{&mid_left, half}, std::pair{&mid_right, -half}}) {
                const double run = from.upper_offset - to->lower_offset - shift;
                arcs.push_back({from.upper, to->lower, run, 1});
                arcs.push_back({to->lower, from.upper, -run, 1});
            }
        }
    }

    // A lone item, or two side by side and nothing else, stands anywhere: the solver skips
    // networks that small without setting any potential.
    if (nodes < 2 || arcs.size() < 2) {
        return true;
    }
    // The dual: a circulation, each arc costing minus its length; an arc with a weight
    // carries at most that much, one without any amount.
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
    // Every cycle has an arc with a weight, so no flow exceeds their sum.
    int total = 1;
    for (const Arc& a : arcs) {
        total += a.weight;
    }
    // Positions are solved in integers, in eighths of a unit (place_scale): every least
    // distance is rounded up, so the gaps hold, and every other length to the nearest eighth.
    for (std::size_t e = 0; e < arcs.size(); ++e) {
        const Arc& a = arcs[e];
        const double length = a.length * place_scale;
        cost[edge[e]] = a.weight == 0 ? -static_cast<std::int64_t>(std::ceil(length))
                                      : -std::llround(length);
        upper[edge[e]] = a.weight == 0 ? total : a.weight;
    }
    ogdf::MinCostFlowReinelt<std::int64_t> solver;
    if (!solver.call(graph, lower, upper, cost, supply, flow, potential)) {
        return false;
    }
    for (std::size_t e = 0; e < arcs.size(); ++e) {
        if (arcs[e].weight == 0 &&
            potential[edge[e]->target()] - potential[edge[e]->source()] < -cost[edge[e]]) {
            return false;
        }
    }
    for (std::size_t i = 0; i < items; ++i) {
        placed.x[i] = static_cast<double>(potential[node[i]]) / place_scale;
    }
    return true;
}

} // namespace kinship::family
