#include "gml/kinship_attributes.h"

namespace kinship::gml {
namespace {

// The library's colour for `text`, or `fallback` (its own default) when it cannot read it.
ogdf::Color library_colour(const std::string& text, ogdf::Color::Name fallback)
{
    ogdf::Color colour;
    return colour.fromString(text) ? colour : ogdf::Color(fallback);
}

} // namespace

const long KinshipAttributes::selection =
    ogdf::GraphAttributes::nodeGraphics | ogdf::GraphAttributes::edgeGraphics |
    ogdf::GraphAttributes::nodeLabel | ogdf::GraphAttributes::nodeStyle |
    ogdf::GraphAttributes::edgeStyle | ogdf::GraphAttributes::nodeTemplate;

KinshipAttributes::KinshipAttributes(const ogdf::Graph& graph)
{
    init(graph, selection);
}

void KinshipAttributes::init(const ogdf::Graph& graph, long attributes)
{
    ogdf::GraphAttributes::init(graph, attributes);
    node_fill_text_.init(graph);
    node_line_text_.init(graph);
    edge_colour_text_.init(graph);
    family_.init(graph, false);
    directed() = true;
    use_initial_values();
}

// The library starts nodes at 20 x 20 with a solid fill; a kinship network's nodes start
// empty (0 x 0, no fill pattern) until a node entry says otherwise.
void KinshipAttributes::use_initial_values()
{
    if (has(nodeGraphics)) {
        m_width.setDefault(0.0);
        m_height.setDefault(0.0);
        m_width.fill(0.0);
        m_height.fill(0.0);
    }
    if (has(nodeStyle)) {
        ogdf::Fill fill;
        fill.m_pattern = ogdf::FillPattern::None;
        m_nodeFill.setDefault(fill);
        m_nodeFill.fill(fill);
    }
}

void KinshipAttributes::set_node_fill(ogdf::node v, std::string_view text)
{
    node_fill_text_[v] = text;
    if (has(nodeStyle)) {
        fillColor(v) = library_colour(node_fill_text_[v], ogdf::Color::Name::White);
    }
}

void KinshipAttributes::set_node_line(ogdf::node v, std::string_view text)
{
    node_line_text_[v] = text;
    if (has(nodeStyle)) {
        strokeColor(v) = library_colour(node_line_text_[v], ogdf::Color::Name::Black);
    }
}

void KinshipAttributes::set_edge_colour(ogdf::edge e, std::string_view text)
{
    edge_colour_text_[e] = text;
    if (has(edgeStyle)) {
        strokeColor(e) = library_colour(edge_colour_text_[e], ogdf::Color::Name::Black);
    }
}

} // namespace kinship::gml
