#include "export/kinship_gml_writer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

struct Person {
    int id;
    char sexo;
    const char* cla;
    const char* subcla;
    int nasc;
    int morte;
};

// A record filled the way the readers fill it.
Digraph make_pedigree(std::initializer_list<Person> people)
{
    Digraph G = DIGRAPHinit(static_cast<int>(people.size()));
    int i = 0;
    for (const Person& p : people) {
        G->id[i] = p.id;
        G->sexo[i] = p.sexo;
        std::strcpy(G->cla[i], p.cla);
        std::strcpy(G->subcla[i], p.subcla);
        G->nasc[i] = p.nasc;
        G->morte[i] = p.morte;
        ++i;
    }
    return G;
}

std::string node_block(const std::string& id, const std::string& template_text,
                       const std::string& fill, const std::string& line, const std::string& type)
{
    return "node [\nid " + id + "\ntemplate \"" + template_text + "\"\nlabel \"" + id +
           "\"\ngraphics [\nw 30.000000\nh 30.000000\nfill \"" + fill + "\"\nline \"" + line +
           "\"\ntype \"" + type +
           "\"\npattern \"1\"\nstipple 1\nlineWidth 2.000000\nwidth 1.000000\n]\n]\n";
}

std::string edge_block(const std::string& source, const std::string& target)
{
    return "edge [\nsource " + source + "\ntarget " + target +
           "\ngraphics [\ntype \"line\"\narrow \"none\"\nstipple 1\nlineWidth 2.000000\nfill "
           "\"#000000\"\n]\n]\n";
}

TEST(KinshipGmlWriter, EmptyPedigreeIsThreeLines)
{
    Digraph G = DIGRAPHinit(0);
    EXPECT_EQ(kinship::format_kinship_gml(*G), "directed 1\ngraph [\n]\n");
    DIGRAPHdestroy(G);
}

TEST(KinshipGmlWriter, FatherAndDaughterExactText)
{
    Digraph G = make_pedigree(
        {{101, 'm', "north", "low", 1900, 1960}, {103, 'f', "south", "high", 1930, 1990}});
    DIGRAPHinsertA(G, 0, 1);
    const std::string expected =
        "directed 1\ngraph [\n" +
        node_block("101", "north low 1900 1960", "#ADD8E6", "#4682b4", "rectangle") +
        node_block("103", "south high 1930 1990", "#FFE4E1", "#FFDAB9", "oval") +
        edge_block("101", "103") + "]\n";
    EXPECT_EQ(kinship::format_kinship_gml(*G), expected);
    DIGRAPHdestroy(G);
}

TEST(KinshipGmlWriter, OnlyLowerCaseMIsDrawnAsMale)
{
    Digraph G = make_pedigree({{1, 'M', "a", "b", 0, 0}, {2, 'x', "a", "b", -5, 0}});
    const std::string text = kinship::format_kinship_gml(*G);
    EXPECT_EQ(text, "directed 1\ngraph [\n" +
                        node_block("1", "a b 0 0", "#FFE4E1", "#FFDAB9", "oval") +
                        node_block("2", "a b -5 0", "#FFE4E1", "#FFDAB9", "oval") + "]\n");
    DIGRAPHdestroy(G);
}

TEST(KinshipGmlWriter, EdgesFollowParentIndexThenChildIndexNotIds)
{
    Digraph G = make_pedigree({{30, 'm', "c", "s", 0, 0},
                               {20, 'f', "c", "s", 0, 0},
                               {10, 'm', "c", "s", 0, 0},
                               {40, 'f', "c", "s", 0, 0}});
    DIGRAPHinsertA(G, 2, 0);
    DIGRAPHinsertA(G, 1, 3);
    DIGRAPHinsertA(G, 0, 3);
    DIGRAPHinsertA(G, 0, 1);
    const std::string text = kinship::format_kinship_gml(*G);
    const auto at = [&](const std::string& s, const std::string& t) {
        return text.find(edge_block(s, t));
    };
    ASSERT_NE(at("30", "20"), std::string::npos);
    EXPECT_LT(at("30", "20"), at("30", "40"));
    EXPECT_LT(at("30", "40"), at("20", "40"));
    EXPECT_LT(at("20", "40"), at("10", "30"));
    DIGRAPHdestroy(G);
}

TEST(KinshipGmlWriter, EveryArcOfALongRowIsWrittenInOrder)
{
    constexpr int people = 130;
    Digraph G = DIGRAPHinit(people);
    for (int i = 0; i < people; ++i) {
        G->id[i] = 1000 + i;
        G->sexo[i] = 'f';
    }
    const std::vector<std::pair<int, int>> arcs = {{0, 1},   {0, 63},  {0, 64},  {0, 127},
                                                   {0, 128}, {0, 129}, {128, 0}, {129, 5}};
    for (auto [v, w] : arcs) {
        DIGRAPHinsertA(G, v, w);
    }
    const std::string text = kinship::format_kinship_gml(*G);
    std::size_t previous = 0;
    for (auto [v, w] : arcs) {
        const std::size_t at =
            text.find(edge_block(std::to_string(1000 + v), std::to_string(1000 + w)));
        ASSERT_NE(at, std::string::npos) << v << " -> " << w;
        EXPECT_GT(at, previous);
        previous = at;
    }
    std::size_t edges = 0;
    for (std::size_t at = text.find("edge ["); at != std::string::npos;
         at = text.find("edge [", at + 1)) {
        ++edges;
    }
    EXPECT_EQ(edges, arcs.size());
    DIGRAPHdestroy(G);
}

TEST(KinshipGmlWriter, QuoteAndBackslashInClanWordsAreEscaped)
{
    Digraph G = make_pedigree({{7, 'm', "a\"b", "c\\d", 1, 2}});
    EXPECT_NE(kinship::format_kinship_gml(*G).find("template \"a\\\"b c\\\\d 1 2\"\n"),
              std::string::npos);
    DIGRAPHdestroy(G);
}

class KinshipGmlFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "kgml-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::filesystem::path dir_;
};

TEST_F(KinshipGmlFile, ReplacesAnExistingFileWithTheFullText)
{
    const auto path = dir_ / "gml-ped.txt";
    std::ofstream(path) << std::string(10000, 'x');
    Digraph G = DIGRAPHinit(0);
    parse_and_file(G, path.c_str());
    DIGRAPHdestroy(G);

    std::stringstream content;
    content << std::ifstream(path).rdbuf();
    EXPECT_EQ(content.str(), "directed 1\ngraph [\n]\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1);
}

TEST_F(KinshipGmlFile, MissingFolderStopsTheRunAndWritesNothing)
{
    const auto path = dir_ / "no-such-folder" / "gml-ped.txt";
    Digraph G = DIGRAPHinit(0);
    EXPECT_EXIT(parse_and_file(G, path.c_str()), ::testing::ExitedWithCode(1),
                "Cannot write the GML file: cannot create .*no-such-folder/gml-ped.txt");
    DIGRAPHdestroy(G);
    EXPECT_TRUE(std::filesystem::is_empty(dir_));
}

} // namespace
