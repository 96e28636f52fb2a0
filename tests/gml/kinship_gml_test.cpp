// The kinship reader and the drawing-file writer: what is read into the graph and the
// attributes, the drawing file's exact text, and that what is written reads back.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <iterator>
#include <limits>
#include <sstream>

#include "common/gml_text.h"
#include "gml/drawing_gml_writer.h"
#include "gml/kinship_gml_reader.h"
#include "test_files.h"

namespace kinship::gml {
namespace {

using P = ogdf::DPoint;

// The whole graph: the directed flag; a line per node, "x y w h |label|template|fill|line|"
// then line width, line style (0 none, 1 solid, 3 dot, 4 dash-dot), fill pattern (0 none,
// 1 solid, 14 diagonal cross) and shape (0 rectangle, 2 ellipse); a line per edge, its
// ends' indices, line style, width, |colour|, the arrow (0 none, 3 both, 4 undefined)
// when its group is there, and the bends.
std::string dump(const KinshipAttributes& a)
{
    std::ostringstream out;
    out << a.directed();
    for (const ogdf::node v : a.constGraph().nodes) {
        out << '\n' << a.x(v) << ' ' << a.y(v) << ' ' << a.width(v) << ' ' << a.height(v) << " |"
            << a.label(v) << '|' << a.templateNode(v) << '|' << a.node_fill_text(v) << '|'
            << a.node_line_text(v) << "| " << a.strokeWidth(v) << ' ' << int(a.strokeType(v))
            << ' ' << int(a.fillPattern(v)) << ' ' << int(a.shape(v));
    }
    for (const ogdf::edge e : a.constGraph().edges) {
        out << '\n' << e->source()->index() << '>' << e->target()->index() << ' '
            << int(a.strokeType(e)) << ' ' << a.strokeWidth(e) << " |" << a.edge_colour_text(e)
            << '|';
        if (a.has(ogdf::GraphAttributes::edgeArrow)) {
            out << " arrow " << int(a.arrowType(e));
        }
        for (const P& p : a.bends(e)) {
            out << " (" << p.m_x << ' ' << p.m_y << ')';
        }
    }
    return out.str();
}

// A graph read from a GML text, with the arrow group when the text starts "#arrows".
struct Read {
    explicit Read(std::string_view text)
    {
        if (text.starts_with("#arrows")) {
            attributes.addAttributes(ogdf::GraphAttributes::edgeArrow);
        }
        error = message_of(read_kinship_gml_text(text, "t.gml", graph, attributes));
    }
    // The dump of what was read, or the failure.
    std::string outcome() const { return error.empty() ? dump(attributes) : "error " + error; }

    ogdf::Graph graph;
    KinshipAttributes attributes{graph};
    std::string error;
};

constexpr std::string_view plain = "0 0 0 0 ||||| 1 1 1 0"; // a node entry without keys

TEST(KinshipGmlReader, ReadsWhatTheEntriesSayDefaultsTheRestAndRefusesWhatItCannotRead)
{
    const std::pair<std::string_view, std::string> cases[] = {
        // Values of another form than the key takes count as absent; the real forms;
        // numbers outside the line style and pattern ranges; "Oval" is not "oval".
        {R"(graph [ node [ id 1 label 102 template 7 graphics [ x "1.0" w 30 h 30.5
            lineWidth 3 fill 0 line 1 type 1 stipple "2" ] ]
          node [ id 2 graphics [ stipple 0 pattern 0 type "Oval" x 1.5e+10 y -2. w 7E3 ] ]
          node [ id 3 graphics [ stipple 3 pattern 14 type "oval" line "#4682b4" ] ]
          node [ id 4 graphics [ stipple 6 pattern 15 lineWidth -3.4e38 ] ]
          edge [ source 1 target 2 graphics [ stipple 2.0 lineWidth 2 fill 1 ] ]
          edge [ source 1 target 2 graphics [ stipple 4 lineWidth 0.5 fill "#123456" ] ] ])",
         "1\n0 0 0 30.5 ||||| 1 1 1 0\n1.5e+10 -2 7000 0 ||||| 1 0 0 0\n"
         "0 0 0 0 ||||#4682b4| 1 3 14 2\n0 0 0 0 ||||| -3.4e+38 0 1 0\n0>1 1 1 ||\n"
         "0>1 4 0.5 |#123456|"},
        // A repeated id updates the node: keys not given again take the defaults. Loops
        // and repeated edges are kept.
        {R"(graph [ node [ id 7 label "first" graphics [ w 30.0 fill "#111111" ] ]
          node [ id 8 ] node [ id 7 label "second" ] edge [ source 8 target 7 ]
          edge [ source 7 target 7 ] edge [ source 7 target 7 ] ])",
         "1\n0 0 0 0 |second|||| 1 1 1 0\n" + std::string(plain) +
             "\n1>0 1 1 ||\n0>0 1 1 ||\n0>0 1 1 ||"},
        // Nodes come in the order first met; an id in the span that only an edge names
        // gets a node with the initial values (no fill pattern).
        {R"(graph [ edge [ source 150000000 target 100000001 ] node [ id 199999999 ]
          node [ id 100000001 label "first" ] node [ id -9223372036854775808 ]
          node [ id 9223372036854775807 ] edge [ source 100000001 target 199999999 ] ])",
         "1\n0 0 0 0 ||||| 1 1 0 0\n0 0 0 0 |first|||| 1 1 1 0\n" + std::string(plain) + "\n" +
             std::string(plain) + "\n" + std::string(plain) + "\n0>1 1 1 ||\n1>2 1 1 ||"},
        // Only the first graph list counts, and unknown keys anywhere are skipped.
        {R"(Creator "someone" directed 0 unknown [ x 1 ]
          graph [ node [ id 1 ] other "ignored" node 5 edge "x"
                  node [ id 2 unknown [ deep [ ] ] graphics [ shape "oval" ] ] ]
          graph [ node [ id 3 ] node [ id 4 ] ])",
         "1\n" + std::string(plain) + "\n" + std::string(plain)},
        {"graph [ directed 0 ]", "0"},
        {"graph [ directed 2 directed \"0\" ]", "1"},
        {"graph [ directed 1.0 directed -1 ]", "0"},
        // A route loses an exact end centre only, taken at the node's final position;
        // points without two reals are left out, and "line" is not "Line".
        {R"(graph [ node [ id 1 graphics [ x 15.0 y 15.0 ] ] node [ id 2 graphics [ x 1.0 ] ]
          edge [ source 1 target 2 graphics [ Line [ point [ x 15.0 y 15.0 ]
            point [ x 50.0 y 40.0 ] point [ x 1.0 y 0.0 ] ] ] ]
          edge [ source 1 target 2 graphics [ Line [ point [ x 20.0 y 20.0 ]
            point [ x 15.0 y 15.0 ] point [ x 1.0 y 0.0000001 ] ] ] ]
          edge [ source 1 target 2 graphics [ Line [ point [ x 1.0 ] point [ x 1 y 2.0 ]
            point 5 point [ y 7.0 x 8.0 ] ] line [ point [ x 9.0 y 9.0 ] ] ] ]
          edge [ source 3 target 3 graphics [ Line [ point [ x -4.5 y 0.5 ] ] ] ]
          node [ id 3 ] node [ id 3 graphics [ x -4.5 y 0.5 ] ] ])",
         "1\n15 15 0 0 ||||| 1 1 1 0\n1 0 0 0 ||||| 1 1 1 0\n-4.5 0.5 0 0 ||||| 1 1 1 0\n"
         "0>1 1 1 || (50 40)\n0>1 1 1 || (20 20) (15 15) (1 1e-07)\n0>1 1 1 || (8 7)\n2>2 1 1 ||"},
        // Arrows are stored only where their group is (kinship-draw adds it).
        {R"(#arrows
          graph [ node [ id 1 ] edge [ source 1 target 1 graphics [ arrow "none" ] ]
          edge [ source 1 target 1 graphics [ arrow "both" ] ]
          edge [ source 1 target 1 graphics [ arrow "Last" ] ] ])",
         "1\n" + std::string(plain) +
             "\n0>0 1 1 || arrow 0\n0>0 1 1 || arrow 3\n0>0 1 1 || arrow 4"},
        {"graph [ edge [ source 0 target 0 ] ]", // no nodes, no span
         "error t.gml:1: edge source 0 lies outside the span of node ids"},
        {"", "error t.gml: no top-level \"graph\" list"},
        {"directed 1 Graph [ ]", "error t.gml: no top-level \"graph\" list"},
        {"graph 1", "error t.gml:1: \"graph\" is not a list"},
        {"graph [ node [ id 1 graphics [\n x inf ] ] ]",
         "error t.gml:2: key \"x\" has the value \"inf\", which is not a finite number"},
        {"graph [ node [ id 1 graphics [ lineWidth 3.5e38 ] ] ]",
         "error t.gml:1: lineWidth 3.500000000e+38 is too large for a line width"},
        // Whatever the file order: a node without an id, then a line width, then an edge.
        {"graph [ edge [ source 1 ]\nnode [ id 1 graphics [ lineWidth 1e39 ] ]\nnode [ ] ]",
         "error t.gml:3: node entry without an integer id"},
        {"graph [ node [ id 1 ] edge [ source 1 ]\nedge [ graphics [ lineWidth -1e39 ] ] ]",
         "error t.gml:2: lineWidth -1.000000000e+39 is too large for a line width"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(Read(text).outcome(), expected) << text;
    }
    // Bad entries fail at their line; the graph is emptied only once the text has parsed.
    for (const char* entry :
         {"node [ ]", "node [ label \"1\" ]", "node [ id \"1\" ]", "node [ id 1.0 ]",
          "edge [ source 9 target 10 ]", "edge [ source 10 target 21 ]", "edge [ target 10 ]",
          "edge [ source 10 target \"20\" ]", "edge [ source 10.0 target 20 ]",
          "node [ id 30 graphics [ x inf ] ]", "edge [ source 10 graphics [ lineWidth 1e39 ] ]"}) {
        const Read read("graph [\nnode [ id 10 ]\nnode [ id 20 ]\n" + std::string(entry) + "\n]");
        EXPECT_TRUE(read.error.starts_with("t.gml:4: ")) << entry;
    }
    Read read("graph [ node [ id 1 ] node [ id 2 ] edge [ source 1 target 2 ] ]");
    EXPECT_FALSE(read_kinship_gml_text("graph [ node [ id 1 ]", "t.gml", read.graph, read.attributes));
    EXPECT_EQ(read.graph.numberOfEdges(), 1);
    const std::string tmp = std::filesystem::temp_directory_path();
    EXPECT_EQ(message_of(read_kinship_gml(tmp, read.graph, read.attributes)),
              tmp + ": cannot open the GML file: Is a directory");
    EXPECT_EQ(message_of(read_kinship_gml(tmp + "/none", read.graph, read.attributes)),
              tmp + "/none: cannot open the GML file: No such file or directory");
}

// Individual 101 (male, clan north, sub-clan low, 1900-1960) as the styled GML file
// gives him, made his own parent so that one node shows every node and edge line.
constexpr const char* individual = R"(graph [ directed 1
node [ id 101 template "north low 1900 1960" label "101"
  graphics [ w 30.000000 h 30.000000 fill "#ADD8E6" line "#4682b4" type "rectangle"
             pattern "1" stipple 1 lineWidth 2.000000 width 1.000000 ] ]
edge [ source 101 target 101
  graphics [ type "line" arrow "none" stipple 1 lineWidth 2.000000 fill "#000000" ] ] ])";

TEST(DrawingGmlWriter, ExactText)
{
    Read read(individual);
    KinshipAttributes& attributes = read.attributes;
    attributes.x(read.graph.firstNode()) = 15.0;
    attributes.y(read.graph.firstNode()) = 1585488512.0;
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
    attributes.set_edge_colour(read.graph.firstEdge(), "");
    EXPECT_NE(format_drawing_gml(attributes).find("  directed 0\n"), std::string::npos);
    EXPECT_NE(format_drawing_gml(attributes).find("\"none\"\n      stipple 1\n      lineWidth "
                                                  "2.000000000\n    ]\n  ]\n]\n"),
              std::string::npos);
    EXPECT_EQ(format_drawing_gml(Read("graph [ ]").attributes),
              "Creator \"ogdf::GraphAttributes::writeGML\"\ngraph [\n  directed 1\n]\n");
}

// The route holds the end centres unless the end bend lies in (or on) that node's box,
// and reads back as the same bends.
TEST(DrawingGmlWriter, RoutesHoldTheCentresTheEndBendsDoNotReachAndReadBackAsTheBends)
{
    Read read("graph [ node [ id 1 graphics [ x 15.0 y 15.0 w 30.0 h 30.0 ] ] node [ id 2 "
              "graphics [ x 100.0 y 100.0 w 30.0 h 30.0 ] ] edge [ source 1 target 2 ] ]");
    const std::pair<std::vector<P>, std::vector<P>> cases[] = {
        {{P(30, 0), P(85, 115)}, {P(30, 0), P(85, 115)}}, // on the borders
        {{P(30.5, 0), P(84.5, 100)}, {P(15, 15), P(30.5, 0), P(84.5, 100), P(100, 100)}},
        {{P(99, 101)}, {P(15, 15), P(99, 101)}}, // one bend, inside the target only
        // A bend at a centre keeps the centre beside it, or reading would drop the bend.
        {{P(15, 15), P(100, 100)}, {P(15, 15), P(15, 15), P(100, 100), P(100, 100)}},
    };
    for (const auto& [bend_points, route] : cases) {
        ogdf::DPolyline& bends = read.attributes.bends(read.graph.firstEdge());
        bends.clear();
        std::string expected = "      Line [\n";
        for (const P& p : bend_points) {
            bends.pushBack(p);
        }
        for (const P& p : route) { // reals as append_real writes them
            expected += "        point [ x ";
            append_real(expected, p.m_x);
            expected += " y ";
            append_real(expected, p.m_y);
            expected += " ]\n";
        }
        const std::string text = format_drawing_gml(read.attributes);
        EXPECT_NE(text.find(expected + "      ]\n"), std::string::npos) << expected;
        EXPECT_EQ(Read(text).outcome(), dump(read.attributes));
    }
}

// Awkward texts, colours included, and reals at either end of the range read back from
// the file; a real that would not is refused and no file is written.
TEST(DrawingGmlWriter, WrittenFileReadsBackAndUnwritableRealsAreRefused)
{
    Read read(individual);
    KinshipAttributes& attributes = read.attributes;
    const ogdf::node v = read.graph.firstNode();
    attributes.templateNode(v) = "clan \"q\" \\ " + std::string(250, 'z') + " end";
    attributes.label(v) = std::string(450, '\\');
    attributes.set_node_fill(v, "a\"b\\");
    attributes.set_edge_colour(read.graph.firstEdge(), "\\");
    attributes.x(v) = -largest_real;
    attributes.y(v) = 5e-324;
    const test_files::TempDir dir;
    ASSERT_TRUE(write_drawing_gml(attributes, dir / "whl-gml"));
    Read again("");
    const Status read_back = read_kinship_gml(dir / "whl-gml", again.graph, again.attributes);
    EXPECT_EQ(read_back ? dump(again.attributes) : read_back.failure().message, dump(attributes));
    for (const double bad : {HUGE_VAL, std::nan(""), std::numeric_limits<double>::max()}) {
        attributes.width(v) = bad;
        EXPECT_EQ(message_of(write_drawing_gml(attributes, dir / "bad")),
                  "cannot write " + (dir / "bad").string() +
                      ": a position, size or line width is not a real a GML file can hold");
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "bad"));
    // Nothing else is left, no temporary file either.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

} // namespace
} // namespace kinship::gml
