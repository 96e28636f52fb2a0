// How the reader fills the graph and the attribute set from a kinship GML text.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gml/drawing_gml_writer.h"
#include "gml/example_files.h"
#include "gml/kinship_gml_reader.h"

namespace kinship::gml {
namespace {

using ogdf::FillPattern;
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

    ogdf::Graph graph;
    KinshipAttributes attributes{graph};
};

// The exact drawing-file text of the same example checks the rest of what is read.
TEST_F(Reader, TwoIndividualsGiveTheStyledNetwork)
{
    const auto v = read_ok(test::two_individuals);
    ASSERT_EQ(v.size(), 2u);
    EXPECT_EQ(attributes.node_line_text(v[0]), "#4682b4"); // lower case kept
    EXPECT_EQ(attributes.shape(v[1]), ogdf::Shape::Ellipse);
    // The quoted "1" is not a pattern number; the default solid fill stays.
    EXPECT_EQ(attributes.fillPattern(v[0]), FillPattern::Solid);
    ASSERT_EQ(graph.numberOfEdges(), 1);
    EXPECT_TRUE(graph.firstEdge()->source() == v[0] && graph.firstEdge()->target() == v[1]);
    EXPECT_TRUE(attributes.directed()); // the top-level "directed" is not taken
}

TEST_F(Reader, ValuesOfAnotherFormAreIgnoredAndNumbersMapToStyles)
{
    const auto v = read_ok(R"(graph [
        node [ id 1 label 102 template 7
               graphics [ x "1.0" w 30 h 30.5 lineWidth 3 fill 0 type 1 stipple "2" ] ]
        node [ id 2 graphics [ stipple 0 pattern 0 x -2.5 type "Oval" ] ]
        node [ id 3 graphics [ stipple 3 pattern 14 ] ]
        node [ id 4 graphics [ stipple 6 pattern 15 ] ]
        edge [ source 1 target 2 graphics [ stipple 2.0 lineWidth 2 fill 1 ] ]
        edge [ source 1 target 2 graphics [ stipple 4 ] ]
    ])");
    EXPECT_EQ(attributes.x(v[0]), 0.0);
    EXPECT_EQ(attributes.width(v[0]), 0.0);
    EXPECT_EQ(attributes.height(v[0]), 30.5);
    EXPECT_EQ(attributes.label(v[0]), "");
    EXPECT_EQ(attributes.templateNode(v[0]), "");
    EXPECT_EQ(attributes.node_fill_text(v[0]), "");
    EXPECT_EQ(attributes.strokeWidth(v[0]), 1.0f);
    EXPECT_EQ(attributes.strokeType(v[0]), StrokeType::Solid);
    EXPECT_EQ(attributes.strokeType(v[1]), StrokeType::None);
    EXPECT_EQ(attributes.fillPattern(v[1]), FillPattern::None);
    EXPECT_EQ(attributes.x(v[1]), -2.5);
    EXPECT_EQ(attributes.shape(v[1]), ogdf::Shape::Rect); // only "oval", case-sensitive
    EXPECT_EQ(attributes.strokeType(v[2]), StrokeType::Dot);
    EXPECT_EQ(attributes.fillPattern(v[2]), FillPattern::DiagonalCross);
    EXPECT_EQ(attributes.strokeType(v[3]), StrokeType::None);
    EXPECT_EQ(attributes.fillPattern(v[3]), FillPattern::Solid); // no pattern 15

    const ogdf::edge e = graph.firstEdge();
    EXPECT_EQ(attributes.strokeType(e), StrokeType::Solid);
    EXPECT_EQ(attributes.strokeWidth(e), 1.0f);
    EXPECT_EQ(attributes.edge_colour_text(e), "");
    EXPECT_EQ(attributes.strokeType(graph.lastEdge()), StrokeType::Dashdot);
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
    EXPECT_EQ(attributes.label(v[0]), "second");
    EXPECT_EQ(attributes.width(v[0]), 0.0); // not given again: back to the default
    EXPECT_EQ(attributes.node_fill_text(v[0]), "");
    EXPECT_EQ(v[0]->degree(), 5); // loops and repeated edges are kept
}

TEST_F(Reader, EdgeIdsInsideTheSpanCreateNodesOutsideFail)
{
    // Nodes appear in the order they are first met, here the edge's ends first.
    const auto v = read_ok(R"(graph [
        edge [ source 10 target 15 ]
        node [ id 20 ] node [ id 10 label "ten" ]
    ])");
    ASSERT_EQ(v.size(), 3u);
    EXPECT_EQ(attributes.label(v[0]), "ten");
    // A node only an edge names keeps the attribute set's initial values.
    EXPECT_EQ(attributes.width(v[1]), 0.0);
    EXPECT_EQ(attributes.fillPattern(v[1]), FillPattern::None);

    for (const char* edge :
         {"edge [ source 9 target 10 ]", "edge [ source 10 target 21 ]", "edge [ target 10 ]",
          "edge [ source 10 target \"20\" ]", "edge [ source 10.0 target 20 ]"}) {
        const auto error =
            read("graph [\nnode [ id 10 ]\nnode [ id 20 ]\n" + std::string(edge) + "]");
        ASSERT_TRUE(error) << edge;
        EXPECT_EQ(error->line, 4u) << edge;
    }
    EXPECT_TRUE(read("graph [ edge [ source 0 target 0 ] ]")); // no nodes, no span
}

TEST_F(Reader, LargeSparseIdsAreResolvedWithoutASpanSizedTable)
{
    const auto v = read_ok(R"(graph [
        node [ id 199999999 ] node [ id 100000001 ]
        node [ id -2147483648 ] node [ id 9000000000000000000 ]
        edge [ source 100000001 target 199999999 ]
        edge [ source 150000000 target 100000001 ]
    ])");
    ASSERT_EQ(v.size(), 5u);
    EXPECT_TRUE(graph.firstEdge()->source() == v[1] && graph.firstEdge()->target() == v[0]);
    EXPECT_TRUE(graph.lastEdge()->source() == v[4] && graph.lastEdge()->target() == v[1]);
}

TEST_F(Reader, FailsOnNodesWithoutIntegerIdsAndWithoutAGraphList)
{
    for (const char* node :
         {"node [ ]", "node [ label \"1\" ]", "node [ id \"1\" ]", "node [ id 1.0 ]"}) {
        const auto error = read("graph [\nnode [ id 1 ]\n" + std::string(node) + "\n]");
        ASSERT_TRUE(error) << node;
        EXPECT_EQ(error->line, 3u);
    }
    for (const char* text : {"", "directed 1", "graph 1", "Graph [ ]"}) {
        EXPECT_TRUE(read(text)) << text;
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

std::vector<ogdf::DPoint> bends_of(const KinshipAttributes& attributes, ogdf::edge e)
{
    return {attributes.bends(e).begin(), attributes.bends(e).end()};
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
    EXPECT_EQ(bends_of(attributes, *e), std::vector{P(50, 40)});
    // Only an exact centre at the very start or end is dropped.
    EXPECT_EQ(bends_of(attributes, *++e), (std::vector{P(20, 20), P(15, 15), P(100, 100.0000001)}));
    // Points without two reals are left out; "line" is not "Line".
    EXPECT_EQ(bends_of(attributes, *++e), std::vector{P(8, 7)});
    // The centre is the node's final position, even when its entries follow the edge.
    EXPECT_TRUE(bends_of(attributes, *++e).empty());
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

// A drawing file read back gives the layout's bends, and writes the same text again.
TEST_F(Reader, DrawingFileRoutesSurviveARoundTrip)
{
    read_ok(test::two_individuals);
    const ogdf::node father = graph.firstNode(), child = graph.lastNode();
    attributes.x(father) = attributes.y(father) = 15.0;
    attributes.x(child) = 15.0;
    attributes.y(child) = 135.0;
    const std::vector layout_bends{ogdf::DPoint(40.0, 55.0), ogdf::DPoint(40.0, 95.0)};
    for (const ogdf::DPoint& point : layout_bends) {
        attributes.bends(graph.firstEdge()).pushBack(point);
    }
    const std::string drawing = format_drawing_gml(attributes);
    ASSERT_NE(drawing.find("point [ x 15.00000000 y 135.0000000 ]"), std::string::npos);

    ogdf::Graph again;
    KinshipAttributes reread(again);
    ASSERT_FALSE(read_kinship_gml_text(drawing, again, reread));
    EXPECT_EQ(bends_of(reread, again.firstEdge()), layout_bends);
    EXPECT_EQ(format_drawing_gml(reread), drawing);
}

TEST_F(Reader, ReadsFilesAndKeepsTheGraphWhenTheTextIsMalformed)
{
    const auto path =
        std::filesystem::temp_directory_path() /
        ("gml-reader-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::ofstream(path, std::ios::binary) << test::two_individuals;
    EXPECT_FALSE(read_kinship_gml(path.string(), graph, attributes));
    EXPECT_EQ(graph.numberOfEdges(), 1);
    EXPECT_TRUE(read("graph [ node [ id 1 ]"));
    EXPECT_EQ(graph.numberOfNodes(), 2);

    std::filesystem::remove(path);
    const auto error = read_kinship_gml(path.string(), graph, attributes);
    ASSERT_TRUE(error);
    EXPECT_NE(error->describe().find(path.string()), std::string::npos);
}

} // namespace
} // namespace kinship::gml
