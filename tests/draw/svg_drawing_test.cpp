// What the SVG drawing adds to the library's picture: clean text and arrow heads by file.
#include <gtest/gtest.h>

#include <cstddef>
#include <iterator>
#include <string>
#include <vector>

#include <ogdf/lib/pugixml/pugixml.h>

#include "draw/svg_drawing.h"
#include "gml/kinship_gml_reader.h"

namespace kinship::draw {
namespace {

TEST(XmlText, KeepsUtf8TakesOtherBytesAsLatin1AndDropsControls)
{
    EXPECT_EQ(xml_text("on\u00E7a \U0001F406\t<&"), "on\u00E7a \U0001F406\t<&");
    EXPECT_EQ(xml_text("on\347a"), "on\u00E7a");
    // Overlong forms, surrogates, code points past U+10FFFF and cut sequences are not
    // UTF-8, so the whole text is read as Latin-1: two bytes for each byte above 0x7F.
    for (const std::string bytes : {"\300\257", "\355\240\200", "\364\220\200\200", "x\342\202"}) {
        EXPECT_EQ(xml_text(bytes).size(), 2 * bytes.size() - (bytes[0] == 'x')) << bytes;
    }
    EXPECT_EQ(xml_text("a\001\037\r\n\uFFFFb"), "a\r\nb");
    EXPECT_EQ(xml_text("\001\351"), "\u00E9");
}

TEST(SvgDrawing, OddTextStaysReadableAndArrowsFollowTheFile)
{
    ogdf::Graph graph;
    gml::KinshipAttributes attributes(graph);
    attributes.addAttributes(ogdf::GraphAttributes::edgeArrow);
    // A control character in the label and a Latin-1 clan name in the template.
    const std::string text = "graph [\n"
                             "node [ id 1 label \"<&\001>\" template \"on\347a alto 1900 0\"\n"
                             "       graphics [ x 50.0 y 15.0 ] ]\n"
                             "node [ id 2 label \"2\" graphics [ x 15.0 y 100.0 ] ]\n"
                             "edge [ source 1 target 2 graphics [ arrow \"none\" ] ]\n"
                             "edge [ source 1 target 2 graphics [ arrow \"both\" ] ]\n"
                             "edge [ source 1 target 2 graphics [ arrow \"last\" ] ] ]";
    ASSERT_FALSE(gml::read_kinship_gml_text(text, graph, attributes));
    const SvgPicture picture = draw_svg(attributes, "title \377");
    ASSERT_FALSE(picture.error) << *picture.error;

    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(picture.svg.c_str()));
    const pugi::xml_node svg = document.child("svg");
    EXPECT_STREQ(svg.child_value("title"), "title \u00FF");
    const pugi::xml_node first = svg.child("g").next_sibling("g");
    EXPECT_STREQ(first.child_value("text"), "<&>");
    EXPECT_STREQ(first.child_value("title"),
                 "<&>\nclan: on\u00E7a\nsub-clan: alto\nbirth: 1900\ndeath: 0");
    std::vector<std::ptrdiff_t> arrow_heads;
    for (const pugi::xml_node edge : svg.child("g").children("g")) {
        EXPECT_STREQ(edge.child_value("title"), "<&> \u2192 2");
        const auto polygons = edge.children("polygon");
        arrow_heads.push_back(std::distance(polygons.begin(), polygons.end()));
    }
    EXPECT_EQ(arrow_heads, (std::vector<std::ptrdiff_t>{0, 2, 1}));
}

} // namespace
} // namespace kinship::draw
