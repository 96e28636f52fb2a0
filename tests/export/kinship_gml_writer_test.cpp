#include "export/kinship_gml_writer.h"

#include "test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace {

struct Person {
    int id;
    char sexo;
    const char* cla = "c";
    const char* subcla = "s";
    int nasc = 0;
    int morte = 0;
};

// A record filled the way the readers fill it.
Digraph make_pedigree(const std::vector<Person>& people)
{
    Digraph G = DIGRAPHinit(static_cast<int>(people.size()));
    for (int i = 0; i < G->V; ++i) {
        const Person& p = people[static_cast<std::size_t>(i)];
        G->id[i] = p.id;
        G->sexo[i] = p.sexo;
        std::strcpy(G->cla[i], p.cla);
        std::strcpy(G->subcla[i], p.subcla);
        G->nasc[i] = p.nasc;
        G->morte[i] = p.morte;
    }
    return G;
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
    Digraph empty = DIGRAPHinit(0);
    EXPECT_EQ(kinship::format_kinship_gml(*empty), "directed 1\ngraph [\n]\n");
    DIGRAPHdestroy(empty);

    // Only a lower-case 'm' is drawn as a man; clan words keep quotes and backslashes
    // readable by escaping them.
    Digraph G = make_pedigree({{101, 'm', "north", "low", 1900, 1960},
                               {103, 'f', "so\"uth", "hi\\gh", 1930, -1},
                               {104, 'M', "north", "low", 1932, 0}});
    DIGRAPHinsertA(G, 0, 1);
    EXPECT_EQ(kinship::format_kinship_gml(*G),
              "directed 1\ngraph [\n" + node_block("101", "north low 1900 1960", true) +
                  node_block("103", "so\\\"uth hi\\\\gh 1930 -1", false) +
                  node_block("104", "north low 1932 0", false) + edge_block(101, 103) + "]\n");
    DIGRAPHdestroy(G);
}

TEST(KinshipGmlWriter, EdgesFollowParentIndexThenChildIndex)
{
    // Ids fall as indices rise, so id order and index order disagree; arcs are inserted
    // out of order, one is removed, and parent 2 has lost its child list, so its matrix
    // row is read instead.
    std::vector<Person> people;
    for (int i = 0; i < 130; ++i) {
        people.push_back({1000 - i, 'f'});
    }
    Digraph G = make_pedigree(people);
    std::free(G->filhos[2].itens);
    G->filhos[2] = lista_filhos{nullptr, -1, 0};
    for (auto [v, w] : {std::pair{129, 5}, {0, 129}, {2, 7}, {0, 64}, {0, 1}, {128, 0}, {2, 0},
                        {0, 63}, {0, 127}}) {
        DIGRAPHinsertA(G, v, w);
    }
    DIGRAPHremoveA(G, 0, 63);
    const std::vector<std::pair<int, int>> arcs = {{0, 1},  {0, 64},   {0, 127}, {0, 129},
                                                   {2, 0},  {2, 7},    {128, 0}, {129, 5}};
    std::string edges;
    for (auto [v, w] : arcs) {
        edges += edge_block(1000 - v, 1000 - w);
    }
    const std::string text = kinship::format_kinship_gml(*G);
    EXPECT_EQ(text.substr(text.find("edge [")), edges + "]\n");
    DIGRAPHdestroy(G);
}

TEST(KinshipGmlFileDeathTest, AFileThatCannotBeWrittenEndsTheRun)
{
    const test_files::TempDir dir;
    Digraph G = DIGRAPHinit(0);
    const auto missing = dir / "no-such-folder" / "gml-ped.txt";
    EXPECT_EXIT(parse_and_file(G, missing.c_str()), ::testing::ExitedWithCode(1),
                "^Cannot write the GML file: cannot create .*no-such-folder/gml-ped.txt: No "
                "such file or directory\n$");
    DIGRAPHdestroy(G);
}

} // namespace
