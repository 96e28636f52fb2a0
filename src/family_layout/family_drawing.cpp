#include "family_layout/family_drawing.h"

#include "common/gml_text.h"
#include "common/person_style.h"
#include "family_layout/couple_units.h"
#include "family_layout/family_chart.h"
#include "family_layout/unit_graph.h"

#include <string>

namespace kinship::family {
namespace {

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

void add_line(ogdf::node from, ogdf::node to, const Route& route, ogdf::Graph& graph,
              gml::KinshipAttributes& attributes)
{
    const ogdf::edge e = graph.newEdge(from, to);
    for (const Point& p : route) {
        attributes.bends(e).pushBack(ogdf::DPoint(p.x, p.y));
    }
    attributes.strokeWidth(e) = 2.0f;
    attributes.set_edge_colour(e, "#000000");
}

} // namespace

DrawingCounts draw_families(const Pedigree& pedigree, ogdf::Graph& graph,
                            gml::KinshipAttributes& attributes,
                            std::span<const double> person_width)
{
    const Families families = find_families(pedigree);
    Units units = group_partners(families);
    break_cycles(families, units);
    const Chart chart = family_chart(families, units, person_width);

    std::vector<ogdf::node> person_node;
    for (const Person& person : pedigree.people()) {
        const std::size_t p = person_node.size();
        person_node.push_back(graph.newNode());
        style_person(person, person_node.back(), attributes);
        attributes.x(person_node.back()) = chart.person[p].x;
        attributes.y(person_node.back()) = chart.person[p].y;
    }
    const auto node_of = [&](int p) { return person_node[static_cast<std::size_t>(p)]; };
    for (std::size_t c = 0; c < families.couples.size(); ++c) {
        const Family& family = families.couples[c];
        const ogdf::node couple = graph.newNode();
        style_family(c + 1, family.year, couple, attributes);
        attributes.x(couple) = chart.family[c].x;
        attributes.y(couple) = chart.family[c].y;
        add_line(node_of(family.father), couple, chart.father_line[c], graph, attributes);
        add_line(node_of(family.mother), couple, chart.mother_line[c], graph, attributes);
        for (std::size_t k = 0; k < family.children.size(); ++k) {
            add_line(couple, node_of(family.children[k]), chart.child_line[c][k], graph,
                     attributes);
        }
    }
    for (std::size_t k = 0; k < families.single_links.size(); ++k) {
        add_line(node_of(families.single_links[k].parent),
                 node_of(families.single_links[k].child), chart.single_line[k], graph,
                 attributes);
    }
    return {pedigree.size(), static_cast<int>(families.couples.size()), chart.layers};
}

} // namespace kinship::family
