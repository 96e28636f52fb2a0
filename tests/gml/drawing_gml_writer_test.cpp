// The drawing file's exact text, its number and string forms, and the round trip.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "gml/drawing_gml_writer.h"
#include "gml/example_files.h"
#include "gml/gml_text.h"
#include "gml/kinship_gml_reader.h"

namespace kinship::gml {
namespace {

std::string real(double value)
{
    std::string out;
    append_real(out, value);
    return out;
}

std::string long_string(std::string_view text)
{
    std::string out;
    append_long_string(out, text);
    return out;
}

TEST(GmlText, RealsHaveTenSignificantDigitsAndAPoint)
{
    EXPECT_EQ(real(30), "30.00000000");
    EXPECT_EQ(real(2), "2.000000000");
    EXPECT_EQ(real(0), "0.000000000");
    EXPECT_EQ(real(0.5), "0.5000000000");
    EXPECT_EQ(real(-7.5), "-7.500000000");
    EXPECT_EQ(real(0.0001), "0.0001000000000");
    EXPECT_EQ(real(0.00001), "1.000000000e-05");
    EXPECT_EQ(real(9999999999.0), "9999999999.");
    EXPECT_EQ(real(1e10), "1.000000000e+10");
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
        const auto error = read_kinship_gml_text(test::two_individuals, graph, attributes);
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

TEST_F(Drawing, TwoIndividualsExactText)
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
}

TEST(DrawingFile, EmptyPedigreeIsFourLines)
{
    ogdf::Graph graph;
    KinshipAttributes attributes(graph);
    ASSERT_FALSE(read_kinship_gml_text(test::no_individuals, graph, attributes));
    EXPECT_EQ(format_drawing_gml(attributes),
              "Creator \"ogdf::GraphAttributes::writeGML\"\ngraph [\n  directed 1\n]\n");
}

TEST_F(Drawing, RouteCentresAreLeftOutWhenTheEndBendsLieInTheBoxes)
{
    place(father, 15.0, 15.0);  // box 0..30 x 0..30
    place(child, 100.0, 100.0); // box 85..115 x 85..115
    auto route = [this] {
        const std::string text = format_drawing_gml(attributes);
        const auto begin = text.find("      Line [\n") + 13;
        return text.substr(begin, text.find("      ]\n", begin) - begin);
    };
    auto point = [](const char* x, const char* y) {
        return "        point [ x " + std::string(x) + " y " + y + " ]\n";
    };

    bends->pushBack(ogdf::DPoint(30.0, 0.0)); // on the borders
    bends->pushBack(ogdf::DPoint(85.0, 115.0));
    EXPECT_EQ(route(), point("30.00000000", "0.000000000") + point("85.00000000", "115.0000000"));

    bends->front() = ogdf::DPoint(30.5, 0.0); // just outside
    bends->back() = ogdf::DPoint(84.5, 100.0);
    EXPECT_EQ(route(), point("15.00000000", "15.00000000") + point("30.50000000", "0.000000000") +
                           point("84.50000000", "100.0000000") +
                           point("100.0000000", "100.0000000"));

    bends->clear(); // one bend, inside the target only
    bends->pushBack(ogdf::DPoint(99.0, 101.0));
    EXPECT_EQ(route(), point("15.00000000", "15.00000000") + point("99.00000000", "101.0000000"));
}

TEST_F(Drawing, StylesColoursAndArrowFollowTheAttributes)
{
    attributes.directed() = false;
    attributes.fillPattern(father) = ogdf::FillPattern::DiagonalCross;
    attributes.strokeType(father) = ogdf::StrokeType::Dashdotdot;
    attributes.strokeWidth(father) = 0.5f;
    attributes.set_node_fill(father, "");
    attributes.set_edge_colour(graph.firstEdge(), "");
    attributes.strokeType(graph.firstEdge()) = ogdf::StrokeType::None;

    const std::string text = format_drawing_gml(attributes);
    EXPECT_NE(text.find("  directed 0\n"), std::string::npos);
    EXPECT_NE(text.find("      fill \"\"\n      line \"#4682b4\"\n      pattern \"14\"\n"
                        "      stipple 5\n      lineWidth 0.5000000000\n"),
              std::string::npos);
    // An empty edge colour is left out; without bends there is no route.
    EXPECT_NE(text.find("      arrow \"none\"\n      stipple 0\n      lineWidth 2.000000000\n"
                        "    ]\n  ]\n]\n"),
              std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4 + 2 * 18 + 10);
}

TEST_F(Drawing, WriteReadWriteKeepsEveryAttribute)
{
    const std::string awkward = "clan \"q\" \\ " + std::string(250, 'z') + " end";
    attributes.templateNode(father) = awkward;
    attributes.label(child) = std::string(450, '\\');
    place(father, -12.345678901, 123456.5);
    attributes.strokeType(father) = ogdf::StrokeType::Dash;
    attributes.strokeWidth(graph.firstEdge()) = 0.25f;
    attributes.set_node_fill(child, "not a colour");
    const std::string first = format_drawing_gml(attributes);

    ogdf::Graph again;
    KinshipAttributes reread(again);
    const auto error = read_kinship_gml_text(first, again, reread);
    ASSERT_FALSE(error) << error->describe();
    EXPECT_EQ(format_drawing_gml(reread), first);
    EXPECT_EQ(reread.templateNode(again.firstNode()), awkward);
    EXPECT_EQ(reread.label(again.lastNode()), std::string(450, '\\'));
}

TEST_F(Drawing, WritesFilesAtomicallyAndReportsFailures)
{
    const auto dir = std::filesystem::temp_directory_path() /
                     ("drawing-writer-test-" +
                      std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(dir);
    const auto path = (dir / "whl-gml-ped.txt").string();
    std::ofstream(path) << std::string(10000, '#');

    EXPECT_FALSE(write_drawing_gml(attributes, path));
    std::stringstream content;
    content << std::ifstream(path).rdbuf();
    EXPECT_EQ(content.str(), format_drawing_gml(attributes)); // shorter text, whole file

    const auto missing = (dir / "no-such-dir" / "out.gml").string();
    EXPECT_TRUE(write_drawing_gml(attributes, missing));
    EXPECT_FALSE(std::filesystem::exists(missing));
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace kinship::gml
