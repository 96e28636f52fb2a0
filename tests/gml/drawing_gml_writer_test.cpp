// The drawing file's exact text, its number and string forms, and the round trip through
// the reader.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "gml/drawing_gml_writer.h"
#include "gml/gml_text.h"
#include "gml/kinship_gml_reader.h"

namespace kinship::gml {
namespace {

// A styled kinship GML text, as the first stage of the command writes it (one pair a line
// there): individual 101 (male, clan north, sub-clan low, 1900-1960) and his child 103.
constexpr const char* two_individuals = R"(directed 1
graph [
node [ id 101 template "north low 1900 1960" label "101"
  graphics [ w 30.000000 h 30.000000 fill "#ADD8E6" line "#4682b4" type "rectangle"
             pattern "1" stipple 1 lineWidth 2.000000 width 1.000000 ] ]
node [ id 103 template "north high 1931 0" label "103"
  graphics [ w 30.000000 h 30.000000 fill "#FFE4E1" line "#FFDAB9" type "oval"
             pattern "1" stipple 1 lineWidth 2.000000 width 1.000000 ] ]
edge [ source 101 target 103
  graphics [ type "line" arrow "none" stipple 1 lineWidth 2.000000 fill "#000000" ] ]
]
)";

std::string real(double value)
{
    std::string out;
    append_real(out, value);
    return out;
}

std::vector<ogdf::DPoint> points(const ogdf::DPolyline& line)
{
    return {line.begin(), line.end()};
}

std::string long_string(std::string_view text)
{
    std::string out;
    append_long_string(out, text);
    return out;
}

TEST(GmlText, RealsHaveTenSignificantDigitsAndAPoint)
{
    const std::pair<double, const char*> cases[] = {
        {30, "30.00000000"},           {0, "0.000000000"},          {0.5, "0.5000000000"},
        {-7.5, "-7.500000000"},        {0.0001, "0.0001000000000"}, {0.00001, "1.000000000e-05"},
        {9999999999.0, "9999999999."}, {1e10, "1.000000000e+10"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(real(value), text);
    }
}

TEST(GmlText, LongStringsEscapeDropControlsAndBreakAt200)
{
    EXPECT_EQ(long_string("a\\b\"c\r\n\td"), "\"a\\\\b\\\"cd\"");
    // The opening quote counts, so 199 characters fill the first line; 198 do not.
    const std::string x198(198, 'x'), x199(199, 'x');
    EXPECT_EQ(long_string(x198), "\"" + x198 + "\"");
    EXPECT_EQ(long_string(x199 + "yz"), "\"" + x199 + "\\\nyz\"");
    // After a break the count restarts at 0: the next line takes 200 characters.
    EXPECT_EQ(long_string(std::string(399, 'x') + "y"),
              "\"" + x199 + "\\\n" + std::string(200, 'x') + "\\\ny\"");
    // An escape that passes 200 breaks right after it; dropped bytes do not count.
    EXPECT_EQ(long_string(x198 + "\"z"), "\"" + x198 + "\\\"\\\nz\"");
    EXPECT_EQ(long_string(x198.substr(99) + std::string(50, '\n') + x198.substr(99)),
              "\"" + x198 + "\"");
}

class Drawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto error = read_kinship_gml_text(two_individuals, graph, attributes);
        ASSERT_FALSE(error) << error->describe();
        father = graph.firstNode();
        child = graph.lastNode();
        bends = &attributes.bends(graph.firstEdge());
    }
    void place(ogdf::node v, double x, double y)
    {
        attributes.x(v) = x;
        attributes.y(v) = y;
    }

    ogdf::Graph graph;
    KinshipAttributes attributes{graph};
    ogdf::node father = nullptr, child = nullptr;
    ogdf::DPolyline* bends = nullptr;
};

TEST_F(Drawing, ExactTextOfTwoIndividualsAndOfNone)
{
    place(father, 15.0, 15.0);
    place(child, 60.0, 65.0);
    bends->pushBack(ogdf::DPoint(37.5, 40.0)); // outside both boxes: centre to centre

    EXPECT_EQ(format_drawing_gml(attributes), R"(Creator "ogdf::GraphAttributes::writeGML"
graph [
  directed 1
  node [
    id 0
    template "north low 1900 1960"
    label "101"
    graphics [
      x 15.00000000
      y 15.00000000
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
  node [
    id 1
    template "north high 1931 0"
    label "103"
    graphics [
      x 60.00000000
      y 65.00000000
      w 30.00000000
      h 30.00000000
      fill "#FFE4E1"
      line "#FFDAB9"
      pattern "1"
      stipple 1
      lineWidth 2.000000000
      type "oval"
      width 1.0
    ]
  ]
  edge [
    source 0
    target 1
    graphics [
      type "line"
      arrow "last"
      stipple 1
      lineWidth 2.000000000
      Line [
        point [ x 15.00000000 y 15.00000000 ]
        point [ x 37.50000000 y 40.00000000 ]
        point [ x 60.00000000 y 65.00000000 ]
      ]
      fill "#000000"
    ]
  ]
]
)");
    // No individuals: four lines.
    ASSERT_FALSE(read_kinship_gml_text("directed 1 graph [ ]", graph, attributes));
    EXPECT_EQ(format_drawing_gml(attributes),
              "Creator \"ogdf::GraphAttributes::writeGML\"\ngraph [\n  directed 1\n]\n");
}

TEST_F(Drawing, RouteCentresAreLeftOutWhenTheEndBendsLieInTheBoxes)
{
    place(father, 15.0, 15.0);  // box 0..30 x 0..30
    place(child, 100.0, 100.0); // box 85..115 x 85..115
    using P = ogdf::DPoint;
    const std::pair<std::vector<P>, std::vector<P>> cases[] = {
        {{P(30, 0), P(85, 115)}, {P(30, 0), P(85, 115)}}, // on the borders
        {{P(30.5, 0), P(84.5, 100)}, {P(15, 15), P(30.5, 0), P(84.5, 100), P(100, 100)}},
        {{P(99, 101)}, {P(15, 15), P(99, 101)}}, // one bend, inside the target only
    };
    for (const auto& [bend_points, route] : cases) {
        bends->clear();
        std::string expected = "      Line [\n";
        for (const P& p : bend_points) {
            bends->pushBack(p);
        }
        for (const P& p : route) {
            expected += "        point [ x " + real(p.m_x) + " y " + real(p.m_y) + " ]\n";
        }
        EXPECT_NE(format_drawing_gml(attributes).find(expected + "      ]\n"), std::string::npos)
            << expected;
    }
}

// An undirected graph has no arrows; an empty edge colour and, without bends, the route
// are left out. Written over a longer file and read back, the file gives the same text
// (other styles and awkward texts included) and the layout's bends again.
TEST_F(Drawing, WriteReadWriteKeepsEveryAttribute)
{
    attributes.directed() = false;
    attributes.set_edge_colour(graph.firstEdge(), "");
    const std::string text = format_drawing_gml(attributes);
    EXPECT_NE(text.find("  directed 0\n"), std::string::npos);
    EXPECT_NE(text.find("      arrow \"none\"\n      stipple 1\n      lineWidth 2.000000000\n"
                        "    ]\n  ]\n]\n"),
              std::string::npos);

    attributes.strokeType(father) = ogdf::StrokeType::Dashdotdot;
    attributes.strokeWidth(father) = 0.5f;
    attributes.set_node_fill(child, "not a colour");
    attributes.strokeType(graph.firstEdge()) = ogdf::StrokeType::None;
    attributes.templateNode(father) = "clan \"q\" \\ " + std::string(250, 'z') + " end";
    attributes.label(child) = std::string(450, '\\');
    place(father, -12.345678901, 123456.5);
    bends->pushBack(ogdf::DPoint(40.0, 55.0));
    bends->pushBack(ogdf::DPoint(40.0, 95.0));
    const auto dir = std::filesystem::temp_directory_path() /
                     ("drawing-writer-test-" +
                      std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(dir);
    const auto path = (dir / "whl-gml-ped.txt").string();
    std::ofstream(path) << std::string(10000, '#');
    ASSERT_FALSE(write_drawing_gml(attributes, path));
    std::stringstream content;
    content << std::ifstream(path).rdbuf();
    EXPECT_EQ(content.str(), format_drawing_gml(attributes)); // shorter text, whole file

    ogdf::Graph again;
    KinshipAttributes reread(again);
    const auto error = read_kinship_gml(path, again, reread);
    ASSERT_FALSE(error) << error->describe();
    EXPECT_EQ(format_drawing_gml(reread), content.str());
    EXPECT_EQ(points(reread.bends(again.firstEdge())), points(*bends));

    // A file that cannot be written is left out; one that cannot be read is named.
    const auto missing = (dir / "no-such-dir" / "out.gml").string();
    EXPECT_TRUE(write_drawing_gml(attributes, missing));
    EXPECT_FALSE(std::filesystem::exists(missing));
    const auto unreadable = read_kinship_gml(missing, again, reread);
    ASSERT_TRUE(unreadable);
    EXPECT_NE(unreadable->describe().find(missing), std::string::npos);
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace kinship::gml
