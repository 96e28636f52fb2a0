#pragma once

#include <string>
#include <string_view>

#include <ogdf/basic/GraphAttributes.h>

namespace kinship::gml {

// The attribute set of a kinship network: the library's attributes with the eight groups
// the drawing needs, plus the colour texts exactly as read.
//
// The groups are node graphics, edge graphics, node label, node colours, edge colour,
// edge style, node style and node template. In the library the node colours live in the
// node style and the edge colour in the edge style, so the selection is
//   nodeGraphics | edgeGraphics | nodeLabel | nodeStyle | edgeStyle | nodeTemplate.
//
// The library's colour type normalises texts ("#4682b4" becomes "#4682B4") and cannot
// hold an empty or unknown colour, so the fill, line and edge colour texts are kept here
// verbatim and are what the drawing file writes. The setters also put the colour into the
// library's attributes when the library understands it, so its own renderers see it.
//
// A node is either a person or a family node: the point a couple's children hang from,
// which kinship-layout adds and the drawing file marks with the key `family 1`.
//
// New nodes start as persons with x, y, width and height 0.0, a rectangle, line width 1.0, no fill
// pattern, a solid line and empty texts; new edges with no bend points, a solid line of
// width 1.0 and an empty colour. The graph is directed until told otherwise.
class KinshipAttributes : public ogdf::GraphAttributes {
public:
    static const long selection;

    explicit KinshipAttributes(const ogdf::Graph& graph);

    // Re-attaches to `graph` with `attributes` (the colour texts follow the graph).
    void init(const ogdf::Graph& graph, long attributes) override;
    using ogdf::GraphAttributes::init;

    const std::string& node_fill_text(ogdf::node v) const { return node_fill_text_[v]; }
    const std::string& node_line_text(ogdf::node v) const { return node_line_text_[v]; }
    const std::string& edge_colour_text(ogdf::edge e) const { return edge_colour_text_[e]; }

    void set_node_fill(ogdf::node v, std::string_view text);
    void set_node_line(ogdf::node v, std::string_view text);
    void set_edge_colour(ogdf::edge e, std::string_view text);

    bool is_family(ogdf::node v) const { return family_[v]; }
    void set_family(ogdf::node v, bool family) { family_[v] = family; }

private:
    void use_initial_values();

    ogdf::NodeArray<std::string> node_fill_text_;
    ogdf::NodeArray<std::string> node_line_text_;
    ogdf::EdgeArray<std::string> edge_colour_text_;
    ogdf::NodeArray<bool> family_;
};

} // namespace kinship::gml
