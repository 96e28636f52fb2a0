#include "family_layout/family_drawing.h"

#include "common/gml_text.h"
#include "common/person_style.h"
#include "family_layout/couple_units.h"
#include "family_layout/row_orientation.h"
#include "family_layout/unit_graph.h"
#include "layout/kinship_layout.h"

#include <ogdf/layered/DfsAcyclicSubgraph.h>
#include <ogdf/layered/OptimalRanking.h>
#include <ogdf/layered/SugiyamaLayout.h>

#include <algorithm>
#include <string>

namespace kinship::family {
namespace {

// The unit graph laid out: each node's centre, each line's bend points.
struct UnitPlacement {
    ogdf::Graph graph;
    ogdf::GraphAttributes attributes;
    std::vector<ogdf::node> nodes;
    std::vector<ogdf::edge> edges; // in the order of UnitGraph::edges
};

// The rows' units stand node_distance apart, so people of different units side by side
// keep the gap kinship-draw looks for too.
static_assert(node_distance >= text::slot_gap);

// The width person p takes in their row.
double width_of(std::span<const double> person_width, int p)
{
    return person_width.empty() ? person_size : person_width[static_cast<std::size_t>(p)];
}

double unit_width(const std::vector<int>& members, std::span<const double> person_width)
{
    double width = partner_gap * static_cast<double>(members.size() - 1);
    for (const int p : members) {
        width += width_of(person_width, p);
    }
    return width;
}

// Crossing reduction restarts from shuffled orders after a first run from the built one,
// which follows the file. On large genealogies the first run is nearly always the best
// and each run takes seconds, so the restarts shrink as the graph grows: all 15 up to
// 5,000 nodes, one alone from 75,000.
constexpr int restart_budget = 75000;

// The kinship configuration with network-simplex ranking: it keeps the lines short, so a
// partner who married in sits in the layer of the other partner's family rather than at
// the top, and couple nodes lie one layer under the couple. Returns the number of layers
// of the deepest component.
int lay_out_units(UnitPlacement& placement)
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
    return layout.numberOfLevels();
}

int place_units(const Units& units, const UnitGraph& unit_graph,
                std::span<const double> person_width, UnitPlacement& placement)
{
    placement.attributes.init(placement.graph, ogdf::GraphAttributes::nodeGraphics |
                                                   ogdf::GraphAttributes::edgeGraphics);
    for (int v = 0; v < unit_graph.nodes; ++v) {
        const ogdf::node node = placement.graph.newNode();
        const bool unit = v < static_cast<int>(units.members.size());
        placement.attributes.width(node) =
            unit ? unit_width(units.members[static_cast<std::size_t>(v)], person_width)
                 : family_node_size;
        placement.attributes.height(node) = unit ? person_size : family_node_size;
        placement.nodes.push_back(node);
    }
    for (const UnitEdge& e : unit_graph.edges) {
        placement.edges.push_back(placement.graph.newEdge(
            placement.nodes[static_cast<std::size_t>(e.source)],
            placement.nodes[static_cast<std::size_t>(e.target)]));
    }
    return lay_out_units(placement);
}

void style_person(const Person& person, ogdf::node v, gml::KinshipAttributes& attributes)
{
    std::string id;
    gml::append_integer(id, person.id);
    std::string templ = person.clan + " " + person.subclan + " ";
    gml::append_integer(templ, person.birth);
    templ += ' ';
    gml::append_integer(templ, person.death);
    attributes.label(v) = id;
    attributes.templateNode(v) = templ;
    attributes.width(v) = attributes.height(v) = person_size;
    const person_style::Colours& colours = person_style::colours(person.sex);
    attributes.set_node_fill(v, colours.fill);
    attributes.set_node_line(v, colours.line);
    attributes.shape(v) = person.male() ? ogdf::Shape::Rect : ogdf::Shape::Ellipse;
    attributes.fillPattern(v) = ogdf::FillPattern::Solid;
    attributes.strokeWidth(v) = static_cast<float>(person_style::line_width);
}

// Family nodes are labelled "family 1", "family 2", ... in couple order: no person's id
// (a number) reads like that, and every node keeps a label of its own. The template holds
// the year of the marriage, or nothing when it is not known.
void style_family(std::size_t number, int year, ogdf::node v, gml::KinshipAttributes& attributes)
{
    attributes.set_family(v, true);
    attributes.label(v) = "family " + std::to_string(number);
    if (year != 0) {
        gml::append_integer(attributes.templateNode(v), year);
    }
    attributes.width(v) = attributes.height(v) = family_node_size;
    attributes.set_node_fill(v, "#000000");
    attributes.set_node_line(v, "#000000");
    attributes.shape(v) = ogdf::Shape::Ellipse;
    attributes.fillPattern(v) = ogdf::FillPattern::Solid;
    attributes.strokeWidth(v) = 1.0f;
}

// A line of the drawing following the bend points of unit line `unit_edge`.
void add_line(ogdf::node from, ogdf::node to, const UnitPlacement& placement,
              ogdf::edge unit_edge, ogdf::Graph& graph, gml::KinshipAttributes& attributes)
{
    const ogdf::edge e = graph.newEdge(from, to);
    attributes.bends(e) = placement.attributes.bends(unit_edge);
    attributes.strokeWidth(e) = 2.0f;
    attributes.set_edge_colour(e, "#000000");
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

// Each person's line ends in the layout of the rows, walking the lines in the order
// unit_graph made them.
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

} // namespace

DrawingCounts draw_families(const Pedigree& pedigree, ogdf::Graph& graph,
                            gml::KinshipAttributes& attributes,
                            std::span<const double> person_width)
{
    const Families families = find_families(pedigree);
    Units units = group_partners(families);
    break_cycles(families, units);
    const UnitGraph lines = unit_graph(families, units);
    UnitPlacement placement;
    const int layers = place_units(units, lines, person_width, placement);
    orient_rows(units, line_ends(families, units, placement));

    std::vector<ogdf::node> person_node;
    for (const Person& person : pedigree.people()) {
        person_node.push_back(graph.newNode());
        style_person(person, person_node.back(), attributes);
    }
    for (std::size_t u = 0; u < units.members.size(); ++u) {
        const ogdf::node unit = placement.nodes[u];
        const std::vector<int>& members = units.members[u];
        double x = placement.attributes.x(unit) - placement.attributes.width(unit) / 2 +
                   width_of(person_width, members.front()) / 2;
        const double y = placement.attributes.y(unit);
        for (std::size_t m = 0; m < members.size(); ++m) {
            attributes.x(person_node[static_cast<std::size_t>(members[m])]) = x;
            attributes.y(person_node[static_cast<std::size_t>(members[m])]) = y;
            if (m + 1 < members.size()) {
                x += width_of(person_width, members[m]) / 2 + partner_gap +
                     width_of(person_width, members[m + 1]) / 2;
            }
        }
    }

    // The lines in the order unit_graph made them, each partner's line from the unit line
    // of their row.
    const auto unit_count = units.members.size();
    std::size_t next_line = 0;
    for (std::size_t c = 0; c < families.couples.size(); ++c) {
        const Family& family = families.couples[c];
        const ogdf::node couple = graph.newNode();
        style_family(c + 1, family.year, couple, attributes);
        const ogdf::node unit_couple = placement.nodes[unit_count + c];
        attributes.x(couple) = placement.attributes.x(unit_couple);
        attributes.y(couple) = placement.attributes.y(unit_couple);
        const ogdf::edge father_line = placement.edges[next_line++];
        const bool one_row = units.unit_of[static_cast<std::size_t>(family.father)] ==
                             units.unit_of[static_cast<std::size_t>(family.mother)];
        const ogdf::edge mother_line = one_row ? father_line : placement.edges[next_line++];
        add_line(person_node[static_cast<std::size_t>(family.father)], couple, placement,
                 father_line, graph, attributes);
        add_line(person_node[static_cast<std::size_t>(family.mother)], couple, placement,
                 mother_line, graph, attributes);
        for (const int child : family.children) {
            add_line(couple, person_node[static_cast<std::size_t>(child)], placement,
                     placement.edges[next_line++], graph, attributes);
        }
    }
    for (const ParentLink& link : families.single_links) {
        add_line(person_node[static_cast<std::size_t>(link.parent)],
                 person_node[static_cast<std::size_t>(link.child)], placement,
                 placement.edges[next_line++], graph, attributes);
    }
    return {pedigree.size(), static_cast<int>(families.couples.size()),
            layers};
}

} // namespace kinship::family
