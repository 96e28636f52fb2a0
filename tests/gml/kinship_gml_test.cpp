// The kinship reader and the drawing-file writer: what is read into the graph and the
// attributes, the drawing file's exact text, and that what is written reads back.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <sstream>

#include "common/gml_text.h"
#include "gml/drawing_gml_writer.h"
#include "gml/kinship_gml_reader.h"
#include "test_files.h"

namespace kinship::gml {
namespace {

using P = ogdf::DPoint;

// All the reader stores for a node: x y w h |label|template|fill|line| and the line width,
// line style (0 none, 1 solid, 3 dot), fill pattern (0 none, 1 solid, 14 diagonal cross)
// and shape (0 rectangle, 2 ellipse); for an edge its line style, line width and colour.
std::string dump(const KinshipAttributes& a, ogdf::node v)
{
    std::ostringstream out;
    out << a.x(v) << ' ' << a.y(v) << ' ' << a.width(v) << ' ' << a.height(v) << " |"
        << a.label(v) << '|' << a.templateNode(v) << '|' << a.node_fill_text(v) << '|'
        << a.node_line_text(v) << "| " << a.strokeWidth(v) << ' ' << int(a.strokeType(v)) << ' '
        << int(a.fillPattern(v)) << ' ' << int(a.shape(v));
    return out.str();
}

std::string dump(const KinshipAttributes& a, ogdf::edge e)
{
    std::ostringstream out;
    out << int(a.strokeType(e)) << ' ' << a.strokeWidth(e) << ' ' << a.edge_colour_text(e);
    return out.str();
}

std::vector<P> bends(const KinshipAttributes& a, ogdf::edge e)
{
    return {a.bends(e).begin(), a.bends(e).end()};
}

class Gml : public ::testing::Test {
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

TEST_F(Gml, ReadsEveryRealFormAndTakesDefaultsForAbsentKeysAndOtherForms)
{
    const auto v = read_ok(R"(graph [
        node [ id 1 label 102 template 7
               graphics [ x "1.0" w 30 h 30.5 lineWidth 3 fill 0 line 1 type 1 stipple "2" ] ]
        node [ id 2 graphics [ stipple 0 pattern 0 type "Oval" x 1.5e+10 y -2. w 7E3 ] ]
        node [ id 3 graphics [ stipple 3 pattern 14 type "oval" line "#4682b4" ] ]
        node [ id 4 graphics [ stipple 6 pattern 15 lineWidth -3.4e38 ] ]
        edge [ source 1 target 2 graphics [ stipple 2.0 lineWidth 2 fill 1 ] ]
        edge [ source 1 target 2 graphics [ stipple 4 lineWidth 0.5 fill "#123456" ] ] ])");
    ASSERT_EQ(v.size(), 4u);
    EXPECT_EQ(dump(attributes, v[0]), "0 0 0 30.5 ||||| 1 1 1 0");
    EXPECT_EQ(dump(attributes, v[1]), "1.5e+10 -2 7000 0 ||||| 1 0 0 0"); // "Oval" is not "oval"
    EXPECT_EQ(dump(attributes, v[2]), "0 0 0 0 ||||#4682b4| 1 3 14 2");
    EXPECT_EQ(dump(attributes, v[3]), "0 0 0 0 ||||| -3.4e+38 0 1 0"); // numbers out of range
    EXPECT_EQ(dump(attributes, graph.firstEdge()) + "/" + dump(attributes, graph.lastEdge()),
              "1 1 /4 0.5 #123456");
}

TEST_F(Gml, RepeatedIdsUpdateOneNodeAndEdgeIdsInTheSpanCreateNodes)
{
    auto v = read_ok(R"(graph [
        node [ id 7 label "first" graphics [ w 30.0 fill "#111111" ] ] node [ id 8 ]
        node [ id 7 label "second" ]
        edge [ source 8 target 7 ] edge [ source 7 target 7 ] edge [ source 7 target 7 ] ])");
    ASSERT_EQ(v.size(), 2u);
    EXPECT_EQ(dump(attributes, v[0]), "0 0 0 0 |second|||| 1 1 1 0"); // the rest: defaults
    EXPECT_EQ(v[0]->degree(), 5); // loops and repeated edges are kept
    // Nodes come in the order first met; one only an edge names has the initial values.
    v = read_ok(R"(graph [ edge [ source 150000000 target 100000001 ]
        node [ id 199999999 ] node [ id 100000001 label "first" ]
        node [ id -9223372036854775808 ] node [ id 9223372036854775807 ]
        edge [ source 100000001 target 199999999 ] ])");
    ASSERT_EQ(v.size(), 5u);
    EXPECT_EQ(dump(attributes, v[0]) + "/" + dump(attributes, v[1]),
              "0 0 0 0 ||||| 1 1 0 0/0 0 0 0 |first|||| 1 1 1 0");
    EXPECT_TRUE(graph.firstEdge()->source() == v[0] && graph.lastEdge()->target() == v[2]);
}

TEST_F(Gml, FailsOnBadEntriesAtTheirLineAndOnFilesWithoutAGraphList)
{
    for (const char* entry :
         {"node [ ]", "node [ label \"1\" ]", "node [ id \"1\" ]", "node [ id 1.0 ]",
          "edge [ source 9 target 10 ]", "edge [ source 10 target 21 ]", "edge [ target 10 ]",
          "edge [ source 10 target \"20\" ]", "edge [ source 10.0 target 20 ]",
          "node [ id 30 graphics [ x inf ] ]", "edge [ source 10 graphics [ lineWidth 1e39 ] ]"}) {
        const auto error =
            read("graph [\nnode [ id 10 ]\nnode [ id 20 ]\n" + std::string(entry) + "\n]");
        EXPECT_EQ(error ? error->line : 0, 4u) << entry;
    }
    EXPECT_TRUE(read("graph [ edge [ source 0 target 0 ] ]")); // no nodes, no span
    // The text is parsed whole before the graph is emptied.
    read_ok("graph [ node [ id 1 ] node [ id 2 ] edge [ source 1 target 2 ] ]");
    EXPECT_TRUE(read("graph [ node [ id 1 ]"));
    EXPECT_EQ(graph.numberOfEdges(), 1);

    const std::string tmp = std::filesystem::temp_directory_path();
    const std::pair<std::optional<ReadError>, std::string> cases[] = {
        {read(""), "no top-level \"graph\" list"},
        {read("directed 1 Graph [ ]"), "no top-level \"graph\" list"},
        {read("graph 1"), "line 1: \"graph\" is not a list"},
        {read("graph [ node [ id 1 graphics [\n x inf ] ] ]"),
         "line 2: key 'x' has the value 'inf', which is not a finite number"},
        {read("graph [ node [ id 1 graphics [ lineWidth 3.5e38 ] ] ]"),
         "line 1: lineWidth 3.500000000e+38 is too large for a line width"},
        {read_kinship_gml(tmp, graph, attributes), "cannot read " + tmp + ": Is a directory"},
        {read_kinship_gml(tmp + "/none", graph, attributes),
         "cannot open " + tmp + "/none: No such file or directory"}};
    for (const auto& [error, message] : cases) {
        EXPECT_EQ(error ? error->describe() : "", message);
    }
}

TEST_F(Gml, OnlyTheFirstGraphListCountsAndItsDirectedKeySetsTheFlag)
{
    EXPECT_EQ(read_ok(R"(Creator "someone" directed 0 unknown [ x 1 ]
        graph [ node [ id 1 ] other "ignored" node 5 edge "x"
                node [ id 2 unknown [ deep [ ] ] graphics [ shape "oval" ] ] ]
        graph [ node [ id 3 ] node [ id 4 ] ])")
                  .size(),
              2u);
    EXPECT_EQ(graph.numberOfEdges(), 0);
    EXPECT_TRUE(attributes.directed());
    for (const auto& [text, directed] : {std::pair{"graph [ directed 0 ]", false},
                                         {"graph [ directed 2 ]", true},
                                         {"graph [ directed \"1\" directed -1 ]", false}}) {
        read_ok(text);
        EXPECT_EQ(attributes.directed(), directed) << text;
    }
}

TEST_F(Gml, ArrowsAreReadOnlyIntoTheArrowGroup)
{
    const char* text = R"(graph [ node [ id 1 ]
        edge [ source 1 target 1 graphics [ arrow "none" ] ]
        edge [ source 1 target 1 graphics [ arrow "both" ] ]
        edge [ source 1 target 1 graphics [ arrow "Last" ] ] ])";
    read_ok(text); // the kinship selection has no arrows: they are skipped
    attributes.addAttributes(ogdf::GraphAttributes::edgeArrow);
    read_ok(text);
    std::vector<ogdf::EdgeArrow> arrows;
    for (const ogdf::edge e : graph.edges) {
        arrows.push_back(attributes.arrowType(e));
    }
    using ogdf::EdgeArrow;
    EXPECT_EQ(arrows, (std::vector{EdgeArrow::None, EdgeArrow::Both, EdgeArrow::Undefined}));
}

TEST_F(Gml, RoutesBecomeBendsWithoutTheEndNodesCentres)
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
        node [ id 3 graphics [ x 0.0 y 0.0 ] ] node [ id 3 graphics [ x -4.5 y 0.5 ] ] ])");
    auto e = graph.edges.begin();
    EXPECT_EQ(bends(attributes, *e), std::vector{P(50, 40)});
    // Only an exact centre at the very start or end is dropped.
    EXPECT_EQ(bends(attributes, *++e), (std::vector{P(20, 20), P(15, 15), P(100, 100.0000001)}));
    // Points without two reals are left out; "line" is not "Line".
    EXPECT_EQ(bends(attributes, *++e), std::vector{P(8, 7)});
    // The centre is the node's final position, even when its entries follow the edge.
    EXPECT_TRUE(bends(attributes, *++e).empty());
}

// Individual 101 (male, clan north, sub-clan low, 1900-1960) as the styled GML file
// gives him, made his own parent so that one node shows every node and edge line.
constexpr const char* individual = R"(graph [ directed 1
node [ id 101 template "north low 1900 1960" label "101"
  graphics [ w 30.000000 h 30.000000 fill "#ADD8E6" line "#4682b4" type "rectangle"
             pattern "1" stipple 1 lineWidth 2.000000 width 1.000000 ] ]
edge [ source 101 target 101
  graphics [ type "line" arrow "none" stipple 1 lineWidth 2.000000 fill "#000000" ] ] ])";

TEST_F(Gml, ExactDrawingText)
{
    const ogdf::node v = read_ok(individual).front();
    attributes.x(v) = 15.0;
    attributes.y(v) = 1585488512.0;
    EXPECT_EQ(format_drawing_gml(attributes), R"(Creator "ogdf::GraphAttributes::writeGML"
graph [
  directed 1
  node [
    id 0
    template "north low 1900 1960"
    label "101"
    graphics [
      x 15.00000000
      y 1585488512.
      w 30.00000000
      h 30.00000000
      fill "#ADD8E6"
      line "#4682b4"
      pattern "1"
      stipple 1
      lineWidth 2.000000000
      type "rectangle"
      width 1.0
    ]
  ]
  edge [
    source 0
    target 0
    graphics [
      type "line"
      arrow "last"
      stipple 1
      lineWidth 2.000000000
      fill "#000000"
    ]
  ]
]
)");
    // Undirected and without an edge colour; with no individuals.
    attributes.directed() = false;
    attributes.set_edge_colour(graph.firstEdge(), "");
    EXPECT_NE(format_drawing_gml(attributes).find("  directed 0\n"), std::string::npos);
    EXPECT_NE(format_drawing_gml(attributes).find("\"none\"\n      stipple 1\n      lineWidth "
                                                  "2.000000000\n    ]\n  ]\n]\n"),
              std::string::npos);
    read_ok("graph [ directed 1 ]");
    EXPECT_EQ(format_drawing_gml(attributes),
              "Creator \"ogdf::GraphAttributes::writeGML\"\ngraph [\n  directed 1\n]\n");
}

// The route holds the end centres unless the end bend lies in (or on) that node's box,
// and reads back as the same bends.
TEST_F(Gml, RoutesHoldTheCentresTheEndBendsDoNotReachAndReadBackAsTheBends)
{
    read_ok("graph [ node [ id 1 graphics [ x 15.0 y 15.0 w 30.0 h 30.0 ] ] node [ id 2 "
            "graphics [ x 100.0 y 100.0 w 30.0 h 30.0 ] ] edge [ source 1 target 2 ] ]");
    const std::pair<std::vector<P>, std::vector<P>> cases[] = {
        {{P(30, 0), P(85, 115)}, {P(30, 0), P(85, 115)}}, // on the borders
        {{P(30.5, 0), P(84.5, 100)}, {P(15, 15), P(30.5, 0), P(84.5, 100), P(100, 100)}},
        {{P(99, 101)}, {P(15, 15), P(99, 101)}}, // one bend, inside the target only
        // A bend at a centre keeps the centre beside it, or reading would drop the bend.
        {{P(15, 15), P(100, 100)}, {P(15, 15), P(15, 15), P(100, 100), P(100, 100)}},
    };
    for (const auto& [bend_points, route] : cases) {
        attributes.bends(graph.firstEdge()).clear();
        std::string expected = "      Line [\n";
        for (const P& p : bend_points) {
            attributes.bends(graph.firstEdge()).pushBack(p);
        }
        for (const P& p : route) { // reals as append_real writes them
            expected += "        point [ x ";
            append_real(expected, p.m_x);
            expected += " y ";
            append_real(expected, p.m_y);
            expected += " ]\n";
        }
        const std::string text = format_drawing_gml(attributes);
        EXPECT_NE(text.find(expected + "      ]\n"), std::string::npos) << expected;
        ogdf::Graph again;
        KinshipAttributes reread(again);
        ASSERT_FALSE(read_kinship_gml_text(text, again, reread));
        EXPECT_EQ(bends(reread, again.firstEdge()), bend_points);
    }
}

// Awkward texts, colours included, and reals at either end of the range read back from
// the file; a real that would not is refused and no file is written.
TEST_F(Gml, WrittenFileReadsBackAndUnwritableRealsAreRefused)
{
    const ogdf::node v = read_ok(individual).front();
    attributes.templateNode(v) = "clan \"q\" \\ " + std::string(250, 'z') + " end";
    attributes.label(v) = std::string(450, '\\');
    attributes.set_node_fill(v, "a\"b\\");
    attributes.set_edge_colour(graph.firstEdge(), "\\");
    attributes.x(v) = -largest_real;
    attributes.y(v) = 5e-324;
    const test_files::TempDir dir;
    ASSERT_FALSE(write_drawing_gml(attributes, dir / "whl-gml"));
    ogdf::Graph again;
    KinshipAttributes reread(again);
    const auto error = read_kinship_gml(dir / "whl-gml", again, reread);
    ASSERT_FALSE(error) << error->describe();
    EXPECT_EQ(dump(reread, again.firstNode()), dump(attributes, v));
    EXPECT_EQ(dump(reread, again.firstEdge()), dump(attributes, graph.firstEdge()));
    for (const double bad : {HUGE_VAL, std::nan(""), std::numeric_limits<double>::max()}) {
        attributes.width(v) = bad;
        EXPECT_EQ(write_drawing_gml(attributes, dir / "bad").value_or(""),
                  "cannot write " + (dir / "bad").string() +
                      ": a position, size or line width is too large to be written as a GML real");
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "bad"));
}

} // namespace
} // namespace kinship::gml
