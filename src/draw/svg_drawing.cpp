#include "draw/svg_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <sstream>
#include <vector>

#include <ogdf/fileformats/GraphIO.h>
#include <ogdf/lib/pugixml/pugixml.h>

#include "common/clan_word.h"
#include "draw/svg_text.h"
#include "draw/text_fit.h"

namespace kinship::draw {
namespace {

// `text` must already be clean (see text::xml_text).
void add_title(pugi::xml_node parent, const std::string& text)
{
    parent.prepend_child("title").text().set(text.c_str());
}

// The extent of the names drawn outside the shapes.
struct Extent {
    double left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;
};

void write_name(pugi::xml_node group, const NodeLabel& label, double x, Extent& extent)
{
    const double line_height = label.font_size * name_line_spacing;
    double baseline = label.top + label.font_size * 0.95;
    for (const std::string& line : label.lines) {
        pugi::xml_node text = group.append_child("text");
        const auto set = [&text](const char* name, const std::string& value) {
            text.append_attribute(name) = value.c_str();
        };
        set("x", svg_number(x));
        set("y", svg_number(baseline));
        set("text-anchor", "middle");
        set("font-family", "Arial, Helvetica, sans-serif");
        set("font-size", svg_number(label.font_size));
        set("fill", "#000000");
        set("stroke", "#FFFFFF");
        set("stroke-width", "3");
        set("stroke-linejoin", "round");
        set("paint-order", "stroke");
        text.text() = line.c_str();
        const double half = text_width(line, label.font_size) / 2 + 1.5;
        extent = {std::min(extent.left, x - half), std::min(extent.top, label.top),
                  std::max(extent.right, x + half),
                  std::max(extent.bottom, baseline + label.font_size * 0.3)};
        baseline += line_height;
    }
}

// Grows the view box to hold `extent` with the library's margin around it.
void include_in_view_box(pugi::xml_node svg, const Extent& extent, double margin)
{
    if (extent.left > extent.right) {
        return;
    }
    const ViewBox box = read_view_box(svg);
    const double left = std::min(box.x, extent.left - margin);
    const double top = std::min(box.y, extent.top - margin);
    const double right = std::max(box.x + box.width, extent.right + margin);
    const double bottom = std::max(box.y + box.height, extent.bottom + margin);
    write_view_box(svg, {left, top, right - left, bottom - top});
}

// "family 3: the couple 12 and 19", the partners being the ends of the lines into it, then
// ", married 1520" when the template holds the year.
std::string family_tooltip(const gml::KinshipAttributes& attributes, ogdf::node v)
{
    std::string tooltip = attributes.label(v);
    std::string separator = ": the couple ";
    for (const ogdf::adjEntry adj : v->adjEntries) {
        const ogdf::edge e = adj->theEdge();
        if (e->target() == v && e->source() != v) {
            tooltip += separator + attributes.label(e->source());
            separator = " and ";
        }
    }
    if (!attributes.templateNode(v).empty()) {
        tooltip += ", married " + attributes.templateNode(v);
    }
    return tooltip;
}

// The line of an edge's group as two thin parallel lines: the line three times as wide, and
// a white copy of its own width over the middle.
void draw_double(pugi::xml_node group)
{
    pugi::xml_node line = group.child("path");
    if (!line) {
        return;
    }
    double width = line.attribute("stroke-width").as_double(1.0);
    width = width > 0 ? width : 1.0;
    pugi::xml_node middle = group.insert_copy_after(line, line);
    if (!line.attribute("stroke-width")) {
        line.append_attribute("stroke-width");
    }
    line.attribute("stroke-width") = svg_number(3 * width).c_str();
    if (!middle.attribute("stroke")) {
        middle.append_attribute("stroke");
    }
    middle.attribute("stroke") = "#FFFFFF";
    if (!middle.attribute("stroke-width")) {
        middle.append_attribute("stroke-width");
    }
    middle.attribute("stroke-width") = svg_number(width).c_str();
}

} // namespace

std::string node_tooltip(std::string_view label, std::string_view templ)
{
    std::string tooltip(label);
    const std::vector<std::string_view> parts = split_words(templ);
    if (parts.size() == 4) {
        constexpr const char* names[] = {"clan", "sub-clan", "birth", "death"};
        for (std::size_t i = 0; i < parts.size(); ++i) {
            (tooltip += '\n').append(names[i]).append(": ");
            if (i >= 2) {
                tooltip.append(parts[i]);
            } else {
                tooltip += clan::is_no_clan(parts[i]) ? "none recorded" : clan::display_clan(parts[i]);
            }
        }
    } else if (!parts.empty()) {
        (tooltip += '\n').append(templ);
    }
    return tooltip;
}

Result<std::string> draw_svg(const gml::KinshipAttributes& attributes, std::string_view title,
                             const Decorations& decorations)
{
    constexpr double margin = 10.0; // room for the outlines and arrow heads at the border
    ogdf::GraphIO::SVGSettings settings;
    settings.margin(margin);
    settings.fontSize(static_cast<int>(id_font_size));
    settings.fontFamily("Arial, Helvetica, sans-serif");
    settings.curviness(0.0); // edges follow their bend points in straight segments

    std::ostringstream rendered;
    if (!ogdf::GraphIO::drawSVG(attributes, rendered, settings)) {
        return Failure{"the library could not draw the network"};
    }
    const std::string text = rendered.str();
    pugi::xml_document document;
    if (!document.load_buffer(text.data(), text.size(),
                              pugi::parse_default | pugi::parse_declaration, pugi::encoding_utf8)) {
        return Failure{"the library's SVG could not be read back"};
    }

    // The renderer writes one group holding a group per edge, then a group per node, both
    // in the graph's order.
    const ogdf::Graph& graph = attributes.constGraph();
    pugi::xml_node svg = document.child("svg");
    std::vector<pugi::xml_node> node_groups, edge_groups;
    for (pugi::xml_node group : svg.children("g")) {
        node_groups.push_back(group);
    }
    if (!node_groups.empty()) {
        for (pugi::xml_node group : node_groups.front().children("g")) {
            edge_groups.push_back(group);
        }
        node_groups.erase(node_groups.begin());
    }
    if (node_groups.size() != static_cast<std::size_t>(graph.numberOfNodes()) ||
        edge_groups.size() != static_cast<std::size_t>(graph.numberOfEdges())) {
        return Failure{"the library's SVG does not have one group per node and per edge"};
    }

    if (pugi::xml_node declaration = document.child("xml")) {
        declaration.remove_attribute("encoding");
        declaration.append_attribute("encoding") = "UTF-8";
    }
    add_title(svg, std::string(title));
    auto node_group = node_groups.begin();
    auto label = decorations.labels.begin();
    auto tooltip_end = decorations.tooltip_ends.begin();
    Extent names;
    for (const ogdf::node v : graph.nodes) {
        if (attributes.is_family(v)) {
            // A dot: no text in it, the couple in its tooltip.
            node_group->remove_child("text");
            label += label != decorations.labels.end() ? 1 : 0;
            tooltip_end += tooltip_end != decorations.tooltip_ends.end() ? 1 : 0;
            add_title(*node_group++, family_tooltip(attributes, v));
            continue;
        }
        std::string tooltip =
            node_tooltip(attributes.label(v), attributes.templateNode(v));
        if (label != decorations.labels.end()) {
            pugi::xml_node text = node_group->child("text");
            if (label->is_name) {
                node_group->remove_child(text);
                write_name(*node_group, *label, attributes.x(v), names);
                tooltip = label->full_name + "\nid: " + tooltip;
            } else if (text && (label->lines.at(0) != text.text().get() ||
                                label->font_size != id_font_size)) {
                text.attribute("font-size") = svg_number(label->font_size).c_str();
                text.text() = label->lines.at(0).c_str();
            }
            ++label;
        }
        if (tooltip_end != decorations.tooltip_ends.end()) {
            tooltip += *tooltip_end++;
        }
        add_title(*node_group++, tooltip);
    }
    include_in_view_box(svg, names, margin);
    auto edge_group = edge_groups.begin();
    auto twice = decorations.double_lines.begin();
    for (const ogdf::edge e : graph.edges) {
        if (twice != decorations.double_lines.end() && *twice++) {
            draw_double(*edge_group);
        }
        add_title(*edge_group++,
                  attributes.label(e->source()) + " \u2192 " + attributes.label(e->target()));
    }

    if (!decorations.legend.empty()) {
        add_legend(svg, decorations.legend);
    }

    std::ostringstream out;
    document.save(out, "\t", pugi::format_default, pugi::encoding_utf8);
    return out.str();
}

} // namespace kinship::draw
