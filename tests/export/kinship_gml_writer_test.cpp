#include "export/kinship_gml_writer.h"

#include "pedigree/pedigree_readers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <utility>
#include <vector>

namespace {

pedigree::DigraphPtr read(const std::string& text)
{
    return std::move(pedigree::read_clan_pedigree(text, "ped.txt")).value();
}

// The (source, target) ids of the edges, in the order written.
std::vector<std::pair<int, int>> edges_of(const std::string& gml)
{
    std::vector<std::pair<int, int>> edges;
    for (std::size_t at = gml.find("edge ["); at != std::string::npos;
         at = gml.find("edge [", at + 1)) {
        int source = 0, target = 0;
        std::sscanf(gml.c_str() + at, "edge [\nsource %d\ntarget %d", &source, &target);
        edges.emplace_back(source, target);
    }
    return edges;
}

TEST(KinshipGmlWriter, TheStyledFileOfAnEmptyPedigreeAndOfAFatherAndDaughter)
{
    EXPECT_EQ(kinship::format_kinship_gml(*read("0")), "directed 1\ngraph [\n]\n");
    // Quotes and backslashes in clan words are escaped so that the file reads back.
    EXPECT_EQ(kinship::format_kinship_gml(
                  *read("2\n101 m 0 0 north low 1900 1960\n103 f 101 0 so\"uth hi\\gh 1930 -1\n")),
              R"(directed 1
graph [
node [
id 101
template "north low 1900 1960"
label "101"
graphics [
w 30.000000
h 30.000000
fill "#ADD8E6"
line "#4682b4"
type "rectangle"
pattern "1"
stipple 1
lineWidth 2.000000
width 1.000000
]
]
node [
id 103
template "so\"uth hi\\gh 1930 -1"
label "103"
graphics [
w 30.000000
h 30.000000
fill "#FFE4E1"
line "#FFDAB9"
type "oval"
pattern "1"
stipple 1
lineWidth 2.000000
width 1.000000
]
]
edge [
source 101
target 103
graphics [
type "line"
arrow "none"
stipple 1
lineWidth 2.000000
fill "#000000"
]
]
]
)");
    // Only a lower-case 'm' is drawn as a man.
    EXPECT_NE(kinship::format_kinship_gml(*read("1\n104 M 0 0 north low 1932 0\n"))
                  .find("type \"oval\""),
              std::string::npos);
}

TEST(KinshipGmlWriter, EdgesFollowParentIndexThenChildIndex)
{
    // Ids fall as indices rise, so id order and index order disagree; arcs are inserted
    // out of order and one is removed.
    std::string text = "130\n";
    for (int i = 0; i < 130; ++i) {
        text += std::to_string(1000 - i) + " f 0 0 c s 0 0\n";
    }
    const auto G = read(text);
    for (auto [v, w] : {std::pair{129, 5}, {0, 129}, {2, 7}, {0, 64}, {0, 1}, {128, 0}, {2, 0},
                        {0, 63}, {0, 127}}) {
        DIGRAPHinsertA(G.get(), v, w);
    }
    DIGRAPHremoveA(G.get(), 0, 63);
    std::vector<std::pair<int, int>> expected;
    for (auto [v, w] : {std::pair{0, 1}, {0, 64}, {0, 127}, {0, 129}, {2, 0}, {2, 7}, {128, 0},
                        {129, 5}}) {
        expected.emplace_back(1000 - v, 1000 - w);
    }
    EXPECT_EQ(edges_of(kinship::format_kinship_gml(*G)), expected);
}

TEST(KinshipGmlFileDeathTest, AFileThatCannotBeWrittenEndsTheRun)
{
    EXPECT_EXIT(parse_and_file(read("0").get(), "no-such-folder/gml-ped.txt"),
                ::testing::ExitedWithCode(1),
                "^Cannot write the GML file: cannot create no-such-folder/gml-ped.txt: No "
                "such file or directory\n$");
}

} // namespace
