// The page's data and document, and the double lines both renderers draw: what the browser
// tests cannot pin down byte for byte.
#include <gtest/gtest.h>

#include <string>

#include "draw/double_lines.h"
#include "draw/page_data.h"
#include "draw/page_document.h"
#include "draw/svg_drawing.h"

namespace kinship::draw {
namespace {

TEST(PageData, TextsCannotEndTheScriptElement)
{
    EXPECT_EQ(json_string("Z\u00E9 </script><!--\u2028\u2029\"\\\t\x01"),
              "\"Z\u00E9 \\u003c/script\\u003e\\u003c!--\\u2028\\u2029\\\"\\\\\\u0009\\u0001\"");
}

// A couple, 7 and 8, married in 1520 and related, with one child drawn through a bend.
struct Family {
    ogdf::Graph graph;
    gml::KinshipAttributes attributes{graph};
    ogdf::node father = graph.newNode(), mother = graph.newNode(), family = graph.newNode(),
               child = graph.newNode();
    ogdf::edge down;
    Family()
    {
        attributes.label(father) = "7";
        attributes.label(mother) = "8";
        attributes.label(child) = "9";
        attributes.shape(mother) = ogdf::Shape::Ellipse;
        attributes.label(family) = "family 1";
        attributes.templateNode(family) = "1520";
        attributes.set_family(family, true);
        for (const ogdf::node v : {father, mother, child}) {
            attributes.width(v) = attributes.height(v) = 30;
        }
        attributes.x(mother) = 40;
        attributes.x(family) = 20.004;
        attributes.y(family) = attributes.y(child) = 50;
        attributes.addAttributes(ogdf::GraphAttributes::edgeArrow);
        attributes.arrowType(graph.newEdge(father, family)) = ogdf::EdgeArrow::None;
        attributes.arrowType(graph.newEdge(mother, family)) = ogdf::EdgeArrow::None;
        down = graph.newEdge(family, child);
        attributes.arrowType(down) = ogdf::EdgeArrow::Last;
        attributes.bends(down).pushBack(ogdf::DPoint(20, 70));
    }
};

TEST(PageData, PeopleFirstThenFamilyNodesWithRoutesAsSteps)
{
    Family f;
    const std::vector<bool> twice = double_lines(f.attributes, {couple_key("8", "7")});
    EXPECT_EQ(twice, (std::vector<bool>{true, true, false}));
    const std::string data = page_data(f.attributes, {}, {{"9", "Ana <b>"}}, {}, twice);
    for (const char* part :
         {"{\"people\":3", "\"x\":[0,40,0,20]", "\"y\":[0,0,50,50]", "\"look\":[0,1,0,2]",
          "\"ids\":[\"7\",\"8\",\"9\"]", "\"names\":[\"\",\"\",\"Ana \\u003cb\\u003e\"]",
          "\"years\":[\"1520\"]", "\"lines\":[0,3,0,0,1,3,0,0,3,2,1,1,0,20]",
          "\"strokes\":[[\"#000000\",1,0,0,1],[\"#000000\",1,0,1,0]]"}) {
        EXPECT_NE(data.find(part), std::string::npos) << part << " in " << data;
    }
    EXPECT_EQ(double_lines(f.attributes, {couple_key("7", "9")}),
              (std::vector<bool>{false, false, false}));
}

TEST(SvgDrawing, ARelatedCoupleHasDoubleLinesAndTheTooltipTheYear)
{
    Family f;
    Decorations decorations;
    decorations.double_lines = double_lines(f.attributes, {couple_key("7", "8")});
    const Result<std::string> svg = draw_svg(f.attributes, "t", decorations);
    ASSERT_TRUE(svg);
    EXPECT_NE(svg.value().find("family 1: the couple 7 and 8, married 1520"), std::string::npos);
    std::size_t white = 0;
    for (std::size_t at = 0; (at = svg.value().find("stroke=\"#FFFFFF\" stroke-width=\"1\"", at)) !=
                             std::string::npos;
         ++at) {
        ++white;
    }
    EXPECT_EQ(white, 2U);
}

TEST(PageDocument, HoldsTheDataInAScriptElement)
{
    const std::string page = page_document("{\"p\":1}", "a<b&");
    EXPECT_NE(page.find("<title>a&lt;b&amp;</title>"), std::string::npos);
    EXPECT_NE(page.find("id=\"kinship-data\">{\"p\":1}</script>"), std::string::npos);
    EXPECT_NE(page.find("window.kinship"), std::string::npos);
}

} // namespace
} // namespace kinship::draw
