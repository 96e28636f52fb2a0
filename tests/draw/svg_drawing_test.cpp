// What the SVG drawing adds to the library's picture: clean text, tooltips and arrow heads
// by file.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include <ogdf/lib/pugixml/pugixml.h>

#include "draw/svg_drawing.h"

namespace kinship::draw {
namespace {

TEST(SvgDrawing, TextIsCleanTooltipsNameTheTemplateAndArrowsFollowTheFile)
{
    // Labels of any bytes: UTF-8 is kept, anything else read as Latin-1 (overlong forms,
    // surrogates, code points past U+10FFFF and cut sequences are not UTF-8), and control
    // characters XML does not allow are left out.
    const std::pair<std::string, std::string> labels[] = {
        {"on\u00E7a \U0001F406\t<&", "on\u00E7a \U0001F406\t<&"},
        {"on\347a", "on\u00E7a"},
        {"\300\257", "\u00C0\u00AF"},
        {"\355\240\200", "\u00ED\u00A0\xC2\x80"},
        {"\364\220\200\200", "\u00F4\xC2\x90\xC2\x80\xC2\x80"},
        {"x\342\202", "x\u00E2\xC2\x82"},
        {"a\001\037\n\uFFFF\uFFFEb", "a\nb"},
        {"\001\351", "\u00E9"},
    };
    ogdf::Graph graph;
    gml::KinshipAttributes attributes(graph);
    attributes.addAttributes(ogdf::GraphAttributes::edgeArrow);
    for (const auto& [label, text] : labels) {
        const ogdf::node v = graph.newNode();
        attributes.label(v) = label;
        attributes.x(v) = 40.0 * v->index();
    }
    attributes.templateNode(graph.firstNode()) = "on\347a alto 1900 0";
    for (const auto arrow : {ogdf::EdgeArrow::None, ogdf::EdgeArrow::Both, ogdf::EdgeArrow::Last}) {
        attributes.arrowType(graph.newEdge(graph.firstNode(), graph.lastNode())) = arrow;
    }
    const SvgPicture picture = draw_svg(attributes, "title \377");
    ASSERT_FALSE(picture.error) << *picture.error;

    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(picture.svg.c_str()));
    const pugi::xml_node svg = document.child("svg");
    EXPECT_STREQ(svg.child_value("title"), "title \u00FF");
    pugi::xml_node group = svg.child("g").next_sibling("g");
    EXPECT_EQ(group.child_value("title"),
              labels[0].second + "\nclan: on\u00E7a\nsub-clan: alto\nbirth: 1900\ndeath: 0");
    for (const auto& [label, text] : labels) {
        EXPECT_EQ(group.child_value("text"), text) << label;
        group = group.next_sibling("g");
    }
    std::vector<std::ptrdiff_t> arrow_heads;
    for (const pugi::xml_node edge : svg.child("g").children("g")) {
        const auto polygons = edge.children("polygon");
        arrow_heads.push_back(std::distance(polygons.begin(), polygons.end()));
    }
    EXPECT_EQ(arrow_heads, (std::vector<std::ptrdiff_t>{0, 2, 1}));
}

} // namespace
} // namespace kinship::draw
