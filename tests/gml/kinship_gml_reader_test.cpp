// How the reader fills the graph and the attribute set from a kinship GML text.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "gml/kinship_gml_reader.h"

namespace kinship::gml {
namespace {

using ogdf::FillPattern;
using ogdf::Shape;
using ogdf::StrokeType;

class Reader : public ::testing::Test {
protected:
    std::optional<ReadError> read(std::string_view text)
    {
        return read_kinship_gml_text(text, graph, attributes);
    }
    std::vector<ogdf::node> read_ok(std::string_view text)
    {
        const auto error = read(text);
        EXPECT_FALSE(error) << error->describe();
        return {graph.nodes.begin(), graph.nodes.end()};
    }
    auto style(ogdf::node v) const
    {
        const KinshipAttributes& a = attributes;
        return std::tuple{a.width(v),
                          a.height(v),
                          a.label(v) + "|" + a.templateNode(v) + "|" + a.node_fill_text(v) + "|" +
                              a.node_line_text(v),
                          a.strokeWidth(v),
                          a.strokeType(v),
                          a.fillPattern(v),
                          a.shape(v)};
    }
    auto style(ogdf::edge e) const
    {
        return std::tuple{attributes.strokeType(e), attributes.strokeWidth(e),
                          attributes.edge_colour_text(e)};
    }
    std::vector<ogdf::DPoint> bends(ogdf::edge e) const
    {
        return {attributes.bends(e).begin(), attributes.bends(e).end()};
    }

    ogdf::Graph graph;
    KinshipAttributes attributes{graph};
};

TEST_F(Reader, AbsentKeysAndValuesOfAnotherFormTakeTheDefaults)
{
    const auto v = read_ok(R"(graph [
        node [ id 1 label 102 template 7
               graphics [ x "1.0" w 30 h 30.5 lineWidth 3 fill 0 line 1 type 1 stipple "2" ] ]
        node [ id 2 graphics [ stipple 0 pattern 0 type "Oval" ] ]
        node [ id 3 graphics [ stipple 3 pattern 14 type "oval" line "#4682b4" ] ]
        node [ id 4 graphics [ stipple 6 pattern 15 ] ]
        edge [ source 1 target 2 graphics [ stipple 2.0 lineWidth 2 fill 1 ] ]
        edge [ source 1 target 2 graphics [ stipple 4 lineWidth 0.5 fill "#123456" ] ]
    ])");
    ASSERT_EQ(v.size(), 4u);
    EXPECT_EQ(attributes.x(v[0]), 0.0);
    EXPECT_EQ(style(v[0]), std::tuple(0.0, 30.5, "|||", 1.0f, StrokeType::Solid, FillPattern::Solid,
                                      Shape::Rect));
    // Stipple and pattern numbers outside their ranges; "oval" is case-sensitive.
    EXPECT_EQ(style(v[1]),
              std::tuple(0.0, 0.0, "|||", 1.0f, StrokeType::None, FillPattern::None, Shape::Rect));
    EXPECT_EQ(style(v[2]), std::tuple(0.0, 0.0, "|||#4682b4", 1.0f, StrokeType::Dot,
                                      FillPattern::DiagonalCross, Shape::Ellipse));
    EXPECT_EQ(style(v[3]),
              std::tuple(0.0, 0.0, "|||", 1.0f, StrokeType::None, FillPattern::Solid, Shape::Rect));
    EXPECT_EQ(style(graph.firstEdge()), std::tuple(StrokeType::Solid, 1.0f, ""));
    EXPECT_EQ(style(graph.lastEdge()), std::tuple(StrokeType::Dashdot, 0.5f, "#123456"));
}

TEST_F(Reader, RepeatedIdUpdatesOneNodeWithTheLaterEntry)
{
    const auto v = read_ok(R"(graph [
        node [ id 7 label "first" graphics [ w 30.0 fill "#111111" ] ]
        node [ id 8 ]
        node [ id 7 label "second" ]
        edge [ source 8 target 7 ] edge [ source 7 target 7 ] edge [ source 7 target 7 ]
    ])");
    ASSERT_EQ(v.size(), 2u);
    // Not given again: back to the defaults.
    EXPECT_EQ(style(v[0]), std::tuple(0.0, 0.0, "second|||", 1.0f, StrokeType::Solid,
                                      FillPattern::Solid, Shape::Rect));
    EXPECT_EQ(v[0]->degree(), 5); // loops and repeated edges are kept
}

// Nodes appear in the order they are first met. An edge end inside the span of node ids
// that no node has gets a node with the attribute set's initial values.
TEST_F(Reader, EdgeIdsInsideTheSpanCreateNodesEvenWithLargeSparseIds)
{
    const auto v = read_ok(R"(graph [
        edge [ source 150000000 target 100000001 ]
        node [ id 199999999 ] node [ id 100000001 label "first" ]
        node [ id -9223372036854775808 ] node [ id 9223372036854775807 ]
        edge [ source 100000001 target 199999999 ]
    ])");
    ASSERT_EQ(v.size(), 5u);
    EXPECT_EQ(attributes.label(v[1]), "first");
    EXPECT_EQ(style(v[0]),
              std::tuple(0.0, 0.0, "|||", 1.0f, StrokeType::Solid, FillPattern::None, Shape::Rect));
    EXPECT_TRUE(graph.firstEdge()->source() == v[0] && graph.firstEdge()->target() == v[1]);
    EXPECT_TRUE(graph.lastEdge()->source() == v[1] && graph.lastEdge()->target() == v[2]);
}

TEST_F(Reader, FailsOnBadEntriesAtTheirLineAndWithoutAGraphList)
{
    for (const char* entry :
         {"node [ ]", "node [ label \"1\" ]", "node [ id \"1\" ]", "node [ id 1.0 ]",
          "edge [ source 9 target 10 ]", "edge [ source 10 target 21 ]", "edge [ target 10 ]",
          "edge [ source 10 target \"20\" ]", "edge [ source 10.0 target 20 ]"}) {
        const auto error =
            read("graph [\nnode [ id 10 ]\nnode [ id 20 ]\n" + std::string(entry) + "\n]");
        ASSERT_TRUE(error) << entry;
        EXPECT_EQ(error->line, 4u) << entry;
    }
    EXPECT_TRUE(read("graph [ edge [ source 0 target 0 ] ]")); // no nodes, no span
    // The text is parsed whole before the graph is emptied.
    read_ok("graph [ node [ id 1 ] node [ id 2 ] edge [ source 1 target 2 ] ]");
    EXPECT_TRUE(read("graph [ node [ id 1 ]"));
    EXPECT_EQ(graph.numberOfEdges(), 1);
    for (const auto& [text, message] : {std::pair{"", "no top-level \"graph\" list"},
                                        {"directed 1 Graph [ ]", "no top-level \"graph\" list"},
                                        {"graph 1", "line 1: \"graph\" is not a list"}}) {
        const auto error = read(text);
        ASSERT_TRUE(error) << text;
        EXPECT_EQ(error->describe(), message);
    }
}

TEST_F(Reader, OnlyTheFirstGraphListCountsAndItsDirectedKeySetsTheFlag)
{
    auto v = read_ok(R"(Creator "someone" directed 0 unknown [ x 1 ]
        graph [ node [ id 1 ] other "ignored" node 5 edge "x"
                node [ id 2 unknown [ deep [ ] ] graphics [ shape "oval" ] ] ]
        graph [ node [ id 3 ] node [ id 4 ] ])");
    EXPECT_EQ(v.size(), 2u);
    EXPECT_EQ(graph.numberOfEdges(), 0);
    EXPECT_TRUE(attributes.directed());

    for (const auto& [text, directed] : {std::pair{"graph [ directed 0 ]", false},
                                         {"graph [ directed 2 ]", true},
                                         {"graph [ directed \"1\" directed -1 ]", false}}) {
        EXPECT_TRUE(read_ok(text).empty());
        EXPECT_EQ(attributes.directed(), directed) << text;
    }
}

TEST_F(Reader, RoutesBecomeBendsWithoutTheEndNodesCentres)
{
    read_ok(R"(graph [
        node [ id 1 graphics [ x 15.0 y 15.0 ] ] node [ id 2 graphics [ x 100.0 y 100.0 ] ]
        edge [ source 1 target 2 graphics [ Line [ point [ x 15.0 y 15.0 ]
            point [ x 50.0 y 40.0 ] point [ x 100.0 y 100.0 ] ] ] ]
        edge [ source 1 target 2 graphics [ Line [ point [ x 20.0 y 20.0 ] point [ x 15.0 y 15.0 ]
            point [ x 100.0 y 100.0000001 ] ] ] ]
        edge [ source 1 target 2 graphics [ Line [ point [ x 1.0 ] point [ x 1 y 2.0 ] point 5
            point [ y 7.0 x 8.0 ] ] line [ point [ x 9.0 y 9.0 ] ] ] ]
        edge [ source 3 target 3 graphics [ Line [ point [ x -4.5 y 0.5 ] ] ] ]
        node [ id 3 graphics [ x 0.0 y 0.0 ] ] node [ id 3 graphics [ x -4.5 y 0.5 ] ]
    ])");
    using P = ogdf::DPoint;
    auto e = graph.edges.begin();
    EXPECT_EQ(bends(*e), std::vector{P(50, 40)});
    // Only an exact centre at the very start or end is dropped.
    EXPECT_EQ(bends(*++e), (std::vector{P(20, 20), P(15, 15), P(100, 100.0000001)}));
    // Points without two reals are left out; "line" is not "Line".
    EXPECT_EQ(bends(*++e), std::vector{P(8, 7)});
    // The centre is the node's final position, even when its entries follow the edge.
    EXPECT_TRUE(bends(*++e).empty());
}

TEST_F(Reader, ArrowsAreReadOnlyIntoTheArrowGroup)
{
    const char* text = R"(graph [ node [ id 1 ]
        edge [ source 1 target 1 graphics [ arrow "none" ] ]
        edge [ source 1 target 1 graphics [ arrow "both" ] ]
        edge [ source 1 target 1 graphics [ arrow "Last" ] ] ])";
    read_ok(text); // the kinship selection has no arrows: they are skipped
    attributes.addAttributes(ogdf::GraphAttributes::edgeArrow);
    read_ok(text);
    using ogdf::EdgeArrow;
    std::vector<EdgeArrow> arrows;
    for (const ogdf::edge e : graph.edges) {
        arrows.push_back(attributes.arrowType(e));
    }
    EXPECT_EQ(arrows, (std::vector{EdgeArrow::None, EdgeArrow::Both, EdgeArrow::Undefined}));
}

} // namespace
} // namespace kinship::gml
