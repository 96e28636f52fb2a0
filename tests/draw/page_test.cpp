// The page's data and document: what the browser tests cannot pin down byte for byte.
#include <gtest/gtest.h>

#include <string>

#include "draw/page_document.h"
#include "draw/page_people.h"

namespace kinship::draw {
namespace {

TEST(PagePeople, TextsCannotEndTheScriptElement)
{
    EXPECT_EQ(json_string("Z\u00E9 </script><!--\u2028\u2029\"\\\t\x01"),
              "\"Z\u00E9 \\u003c/script\\u003e\\u003c!--\\u2028\\u2029\\\"\\\\\\u0009\\u0001\"");
}

TEST(PagePeople, PeopleInNodeOrderWithTheirRelativesAndLinks)
{
    ogdf::Graph graph;
    gml::KinshipAttributes attributes(graph);
    const ogdf::node mother = graph.newNode(), child = graph.newNode(), other = graph.newNode();
    attributes.label(mother) = "7";
    attributes.templateNode(mother) = "onca alto 1900 0";
    attributes.shape(mother) = ogdf::Shape::Ellipse;
    attributes.label(child) = "on\u00E7a";
    attributes.templateNode(child) = "three words only";
    attributes.label(other) = "9";
    graph.newEdge(mother, child);
    EXPECT_EQ(people_json(attributes, {{"7", "Ana <b>"}}),
              "{\"people\":[\n"
              "{\"id\":\"7\",\"name\":\"Ana \\u003cb\\u003e\",\"sex\":\"woman or not recorded\","
              "\"clan\":\"onca\",\"subclan\":\"alto\",\"birth\":\"1900\",\"death\":\"0\","
              "\"parents\":[],\"children\":[\"on\u00E7a\"]},\n"
              "{\"id\":\"on\u00E7a\",\"name\":\"\",\"sex\":\"man\",\"clan\":\"\",\"subclan\":\"\","
              "\"birth\":\"\",\"death\":\"\",\"parents\":[\"7\"],\"children\":[]},\n"
              "{\"id\":\"9\",\"name\":\"\",\"sex\":\"man\",\"clan\":\"\",\"subclan\":\"\","
              "\"birth\":\"\",\"death\":\"\",\"parents\":[],\"children\":[]}],\n"
              "\"links\":[[0,1]]}");
    const std::string measured = people_json(attributes, {}, {{"9", {"2", "0.0625", 0.0625}}});
    EXPECT_NE(measured.find("\"id\":\"9\",\"name\":\"\",\"sex\":\"man\",\"clan\":\"\",\"subclan\":\"\","
                            "\"birth\":\"\",\"death\":\"\",\"generation\":\"2\",\"inbreeding\":\"0.0625\""),
              std::string::npos);
}

TEST(PageDocument, HoldsThePictureWithoutItsDeclaration)
{
    const std::string page =
        page_document("<?xml version=\"1.0\"?>\n<svg>{{people}}</svg>\n", "{\"p\":1}", "a<b&");
    EXPECT_NE(page.find("<title>a&lt;b&amp;</title>"), std::string::npos);
    EXPECT_NE(page.find(">\n<svg>{{people}}</svg>\n</main>"), std::string::npos);
    EXPECT_NE(page.find("id=\"kinship-people\">{\"p\":1}</script>"), std::string::npos);
    EXPECT_EQ(page.find("<?xml"), std::string::npos);
    EXPECT_NE(page.find("window.kinship"), std::string::npos);
}

} // namespace
} // namespace kinship::draw
