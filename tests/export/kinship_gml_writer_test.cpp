#include "export/kinship_gml_writer.h"

#include "pedigree/pedigree_readers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>

namespace {

pedigree::DigraphPtr read(const std::string& text)
{
    return std::move(pedigree::read_clan_pedigree(text, "ped.txt")).value();
}

std::string node_block(const std::string& id, const std::string& template_text, bool male)
{
    const std::string style = male ? "fill \"#ADD8E6\"\nline \"#4682b4\"\ntype \"rectangle\"\n"
                                   : "fill \"#FFE4E1\"\nline \"#FFDAB9\"\ntype \"oval\"\n";
    return "node [\nid " + id + "\ntemplate \"" + template_text + "\"\nlabel \"" + id +
           "\"\ngraphics [\nw 30.000000\nh 30.000000\n" + style +
           "pattern \"1\"\nstipple 1\nlineWidth 2.000000\nwidth 1.000000\n]\n]\n";
}

std::string edge_block(int source, int target)
{
    return "edge [\nsource " + std::to_string(source) + "\ntarget " + std::to_string(target) +
           "\ngraphics [\ntype \"line\"\narrow \"none\"\nstipple 1\nlineWidth 2.000000\n"
           "fill \"#000000\"\n]\n]\n";
}

TEST(KinshipGmlWriter, ExactTextOfAnEmptyPedigreeAndOfAFatherAndChild)
{
    EXPECT_EQ(kinship::format_kinship_gml(*read("0")), "directed 1\ngraph [\n]\n");
    // Only a lower-case 'm' is drawn as a man; clan words keep quotes and backslashes
    // readable by escaping them.
    const auto G = read("3\n101 m 0 0 north low 1900 1960\n103 f 101 0 so\"uth hi\\gh 1930 -1\n"
                        "104 M 0 0 north low 1932 0\n");
    EXPECT_EQ(kinship::format_kinship_gml(*G),
              "directed 1\ngraph [\n" + node_block("101", "north low 1900 1960", true) +
                  node_block("103", "so\\\"uth hi\\\\gh 1930 -1", false) +
                  node_block("104", "north low 1932 0", false) + edge_block(101, 103) + "]\n");
}

TEST(KinshipGmlWriter, EdgesFollowParentIndexThenChildIndex)
{
    // Ids fall as indices rise, so id order and index order disagree; arcs are inserted
    // out of order, one is removed, and parent 2 has lost its child list, so its matrix
    // row is read instead.
    std::string text = "130\n";
    for (int i = 0; i < 130; ++i) {
        text += std::to_string(1000 - i) + " f 0 0 c s 0 0\n";
    }
    const auto G = read(text);
    std::free(G->filhos[2].itens);
    G->filhos[2] = lista_filhos{nullptr, -1, 0};
    for (auto [v, w] : {std::pair{129, 5}, {0, 129}, {2, 7}, {0, 64}, {0, 1}, {128, 0}, {2, 0},
                        {0, 63}, {0, 127}}) {
        DIGRAPHinsertA(G.get(), v, w);
    }
    DIGRAPHremoveA(G.get(), 0, 63);
    std::string edges;
    for (auto [v, w] : {std::pair{0, 1}, {0, 64}, {0, 127}, {0, 129}, {2, 0}, {2, 7}, {128, 0},
                        {129, 5}}) {
        edges += edge_block(1000 - v, 1000 - w);
    }
    const std::string gml = kinship::format_kinship_gml(*G);
    EXPECT_EQ(gml.substr(gml.find("edge [")), edges + "]\n");
}

TEST(KinshipGmlFileDeathTest, AFileThatCannotBeWrittenEndsTheRun)
{
    EXPECT_EXIT(parse_and_file(read("0").get(), "no-such-folder/gml-ped.txt"),
                ::testing::ExitedWithCode(1),
                "^Cannot write the GML file: cannot create no-such-folder/gml-ped.txt: No "
                "such file or directory\n$");
}

} // namespace
