#include "family_layout/unit_placement.h"

#include "family_layout/family_drawing.h"
#include "layout/kinship_layout.h"

#include <ogdf/layered/DfsAcyclicSubgraph.h>
#include <ogdf/layered/OptimalRanking.h>
#include <ogdf/layered/SugiyamaLayout.h>

#include <algorithm>

namespace kinship::family {
namespace {

// Crossing reduction restarts from shuffled orders after a first run from the built one,
// which follows the file. On large genealogies the first run is nearly always the best
// and each run takes seconds, so the restarts shrink as the graph grows: all 15 up to
// 5,000 nodes, one alone from 75,000.
constexpr int restart_budget = 75000;

// The kinship configuration with network-simplex ranking: it keeps the lines short, so a
// partner who married in sits in the layer of the other partner's family rather than at
// the top, and couple nodes lie one layer under the couple.
void lay_out_units(UnitPlacement& placement)
{
    ogdf::SugiyamaLayout layout;
    configure_kinship_layout(layout);
    layout.runs(std::clamp(restart_budget / std::max(1, placement.graph.numberOfNodes()), 1,
                           layout.runs()));
    auto* ranking = new ogdf::OptimalRanking;
    ranking->setSubgraph(new ogdf::DfsAcyclicSubgraph);
    ranking->separateMultiEdges(false);
    layout.setRanking(ranking);
    run_kinship_layout(layout, placement.attributes);
}

// The x where a line leaves its source's layer, and where it reaches its target's.
double leaves_at(const UnitPlacement& placement, ogdf::edge e)
{
    const ogdf::DPolyline& bends = placement.attributes.bends(e);
    return bends.empty() ? placement.attributes.x(e->target()) : bends.front().m_x;
}

double arrives_at(const UnitPlacement& placement, ogdf::edge e)
{
    const ogdf::DPolyline& bends = placement.attributes.bends(e);
    return bends.empty() ? placement.attributes.x(e->source()) : bends.back().m_x;
}

} // namespace

double UnitPlacement::x_at(std::size_t edge, double y) const
{
    const ogdf::edge e = edges[edge];
    ogdf::DPoint from(attributes.x(e->source()), attributes.y(e->source()));
    const auto step = [&](const ogdf::DPoint& to, double& x) {
        const double lo = std::min(from.m_y, to.m_y);
        const double hi = std::max(from.m_y, to.m_y);
        const bool found = lo <= y && y <= hi;
        if (found) {
            x = hi - lo < 1e-9 ? to.m_x
                               : from.m_x + (to.m_x - from.m_x) * (y - from.m_y) / (to.m_y - from.m_y);
        }
        from = to;
        return found;
    };
    double x = attributes.x(e->target());
    for (const ogdf::DPoint& p : attributes.bends(e)) {
        if (step(p, x)) {
            return x;
        }
    }
    step(ogdf::DPoint(attributes.x(e->target()), attributes.y(e->target())), x);
    return x;
}

double row_width(const std::vector<int>& members, std::span<const double> person_width)
{
    double width = 0;
    for (const int p : members) {
        width += person_width.empty() ? person_size : person_width[static_cast<std::size_t>(p)];
    }
    return width + static_cast<double>(members.size() - 1) * partner_gap;
}

void place_units(const Units& units, std::span<const double> person_width,
                 const UnitGraph& unit_graph, UnitPlacement& placement)
{
    placement.attributes.init(placement.graph, ogdf::GraphAttributes::nodeGraphics |
                                                   ogdf::GraphAttributes::edgeGraphics);
    for (int v = 0; v < unit_graph.nodes; ++v) {
        const ogdf::node node = placement.graph.newNode();
        const bool unit = v < static_cast<int>(units.members.size());
        placement.attributes.width(node) =
            unit ? row_width(units.members[static_cast<std::size_t>(v)], person_width)
                 : family_node_size;
        placement.attributes.height(node) = unit ? person_size : family_node_size;
        placement.nodes.push_back(node);
    }
    for (const UnitEdge& e : unit_graph.edges) {
        placement.edges.push_back(placement.graph.newEdge(
            placement.nodes[static_cast<std::size_t>(e.source)],
            placement.nodes[static_cast<std::size_t>(e.target)]));
    }
    lay_out_units(placement);
}

LineEnds line_ends(const Families& families, const Units& units, const UnitPlacement& placement)
{
    LineEnds ends;
    ends.up.resize(units.unit_of.size());
    ends.down.resize(units.unit_of.size());
    const auto at = [](std::vector<std::vector<double>>& list, int person) -> auto& {
        return list[static_cast<std::size_t>(person)];
    };
    std::size_t next_line = 0;
    for (const Family& family : families.couples) {
        const ogdf::edge father_line = placement.edges[next_line++];
        const bool one_row = units.unit_of[static_cast<std::size_t>(family.father)] ==
                             units.unit_of[static_cast<std::size_t>(family.mother)];
        const ogdf::edge mother_line = one_row ? father_line : placement.edges[next_line++];
        at(ends.down, family.father).push_back(leaves_at(placement, father_line));
        at(ends.down, family.mother).push_back(leaves_at(placement, mother_line));
        for (const int child : family.children) {
            at(ends.up, child).push_back(arrives_at(placement, placement.edges[next_line++]));
        }
    }
    for (const ParentLink& link : families.single_links) {
        const ogdf::edge line = placement.edges[next_line++];
        at(ends.down, link.parent).push_back(leaves_at(placement, line));
        at(ends.up, link.child).push_back(arrives_at(placement, line));
    }
    return ends;
}

} // namespace kinship::family
