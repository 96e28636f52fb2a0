#include "pedigree/ed_with_cla.h"
#include "pedigree/pedigree_readers.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utility>
#include <vector>

namespace {

using pedigree::Check;
using pedigree::DigraphPtr;
using Arcs = std::vector<std::pair<int, int>>;

Arcs arcs_of(const digraph& G)
{
    Arcs arcs;
    for (int v = 0; v < G.V; ++v) {
        for (int w = 0; w < G.V; ++w) {
            if (G.adj[v][w] == 1) {
                arcs.emplace_back(v, w);
            }
        }
    }
    return arcs;
}

class Readers : public ::testing::Test {
protected:
    std::string write(std::string_view text) const { return dir_.write("pedigree.txt", text); }

    test_files::TempDir dir_;
};

TEST_F(Readers, ClanFileFillsEveryColumn)
{
    DigraphPtr G{DIGRAPHcreate_with_cla(write("3\n"
                                              "101 m 0 0 north low 1900 1960\n"
                                              "102 f 0 0 south high 1905 1970\n"
                                              "103 m 101 102 north low 1930 1990\n")
                                            .c_str())};
    ASSERT_EQ(G->V, 3);
    EXPECT_EQ(G->id[2], 103);
    EXPECT_EQ(G->sexo[1], 'f');
    EXPECT_STREQ(G->cla[1], "south");
    EXPECT_STREQ(G->subcla[2], "low");
    EXPECT_EQ(G->nasc[0], 1900);
    EXPECT_EQ(G->morte[2], 1990);
    EXPECT_EQ(arcs_of(*G), (Arcs{{0, 2}, {1, 2}}));
    EXPECT_EQ(G->A, 2);
}

TEST_F(Readers, ClanArcsFollowTheLookupAndArcRules)
{
    // A child before its parents, a father who is the child itself, a repeated id whose
    // second holder is never found, a father and mother given as the same id, and text
    // after the last record that is never read.
    DigraphPtr G{DIGRAPHcreate_with_cla(write("5\n"
                                              "3 f 1 2 c s 1 2\n"
                                              "1 m 0 0 c s 1 2\n"
                                              "2 f 0 0 c s 1 2\n"
                                              "4 m 4 2 c s 1 2\n"
                                              "1 x 2 2 c s 1 2\n"
                                              "### not a record\n")
                                            .c_str())};
    EXPECT_EQ(arcs_of(*G), (Arcs{{1, 0}, {2, 0}, {2, 1}, {2, 3}}));
    EXPECT_EQ(G->A, 4);
}

TEST_F(Readers, EmptyPedigreeAndIsolatedIndividuals)
{
    DigraphPtr empty{DIGRAPHcreate_with_cla(write("0\n").c_str())};
    EXPECT_EQ(empty->V, 0);
    EXPECT_EQ(empty->A, 0);
    DigraphPtr isolated{DIGRAPHcreate_with_cla(write("2 1 m 0 0 a b 1 2 2 f 0 0 a b 3 4").c_str())};
    EXPECT_EQ(isolated->V, 2);
    EXPECT_EQ(isolated->A, 0);
}

TEST_F(Readers, FourColumnFile)
{
    DigraphPtr G{DIGRAPHcreate(write("3\n1 0 0 m\n2 0 0 f\n3 1 2 m\n").c_str())};
    EXPECT_EQ(G->sexo[1], 'f');
    EXPECT_EQ(arcs_of(*G), (Arcs{{0, 2}, {1, 2}}));
}

TEST_F(Readers, LinksFile)
{
    DigraphPtr none{
        DIGRAPHcreate_with_cla_multi_parents(write("2\n1 m a b 1 2\n2 f c d 3 4\n0\n").c_str())};
    EXPECT_EQ(none->A, 0);
    EXPECT_STREQ(none->subcla[1], "d");
    // Three parents for one child, links in any order, and 0 as an ordinary id.
    DigraphPtr G{DIGRAPHcreate_with_cla_multi_parents(
        write("4\n9 m a b 1 2\n0 f a b 1 2\n7 m a b 1 2\n8 f a b 1 2\n4\n0 9 7 9 8 9 0 9\n")
            .c_str())};
    EXPECT_EQ(arcs_of(*G), (Arcs{{1, 0}, {2, 0}, {3, 0}}));
    EXPECT_EQ(G->A, 3);
}

TEST_F(Readers, AdjacencyFileFromTheWorkingDirectory)
{
    dir_.write("grafo_adjacencia.in", "3\n5 m 6 f 7 m\n1 1 2\n0 0 1\n1 0 0\n");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
    DigraphPtr G{DIGRAPHcosangcreate()};
    std::filesystem::current_path(previous);
    EXPECT_EQ(G->id[1], 6);
    EXPECT_EQ(G->sexo[1], 'f');
    EXPECT_EQ(arcs_of(*G), (Arcs{{0, 1}, {1, 2}, {2, 0}}));
}

struct BadInput {
    pedigree::ReadResult (*reader)(std::string_view, std::string_view);
    const char* text;
    Check check;
    int record;
    const char* message; // after "<file>: ", or the whole line for standard output
};

TEST_F(Readers, BadInputGivesTheFirstFailedCheck)
{
    using namespace pedigree;
    const std::string long_count = "2000000000\n1 m 0 0 a b 1 1\n";
    const BadInput cases[] = {
        {read_clan_pedigree, "abc", Check::count, 0,
         "cannot read the count of individuals: expected an integer, found \"abc\""},
        {read_clan_pedigree, " \n", Check::count, 0,
         "cannot read the count of individuals: the file ends before it"},
        {read_clan_pedigree, "99999999999", Check::count, 0,
         "cannot read the count of individuals: \"99999999999\" is outside the range of an int"},
        {read_clan_pedigree, "-1", Check::negative_count, 0,
         "the count of individuals is -1; it must be 0 or more"},
        {read_clan_pedigree, long_count.c_str(), Check::record, 2,
         "record 2: cannot read the individual id: the file ends before it"},
        {read_clan_pedigree, "2\n1 m 0 0 a b 1 1\n2 male 0 0 a b 1 1\n", Check::record, 2,
         "record 2: cannot read the father id: expected an integer, found \"ale\""},
        {read_clan_pedigree, "1\n1 m 0 0 abcdefghij b 1 1\n", Check::word_length, 1,
         "record 1: the clan word \"abcdefghij\" is longer than 9 characters"},
        {read_clan_pedigree, "2\n1 m 0 0 a b 1 1\n2 f 0 0 a sub\"clan\\x 1 1\n", Check::word_length,
         2, "record 2: the sub-clan word \"sub\\\"clan\\\\x\" is longer than 9 characters"},
        {read_clan_pedigree,
         "5\n1 m 0 0 a b 1 1\n2 f 0 0 a b 1 1\n3 m 1 2 a b 1 1\n4 f 3 0 a b 1 1\n5 m 0 77 a b 1 "
         "1\n",
         Check::assembly, 5, "4 -2 -1 ERRO na montagem do Grafo."},
        {read_clan_pedigree, "3\n1 m 0 0 a b 1 1\n2 f 9 0 a b 1 1\n3 m 1 8 a b 1 1\n",
         Check::assembly, 2, "1 -1 -2 ERRO na montagem do Grafo."},
        {read_four_column_pedigree, "1\n1 0 0\n", Check::record, 1,
         "record 1: cannot read the sex: the file ends before it"},
        {read_four_column_pedigree, "2\n1 0 0 m\n2 1 7 f\n", Check::assembly, 2,
         "1 0 -1 ERRO na montagem do Grafo."},
        {read_links_pedigree, "1\n1 m a b 1 1\n", Check::link_count, 0,
         "cannot read the number of links: the file ends before it"},
        {read_links_pedigree, "1\n1 m a b 1 1\n-2\n", Check::negative_count, 0,
         "the count of links is -2; it must be 0 or more"},
        {read_links_pedigree, "1\n1 m a b 1 1\n2\n1 1\n1\n", Check::link, 2,
         "link 2: cannot read the child id: the file ends before it"},
        {read_links_pedigree, "1\n1 m abcdefghijk b 1 1\n0\n", Check::word_length, 1,
         "record 1: the clan word \"abcdefghijk\" is longer than 9 characters"},
        {read_links_pedigree, "2\n1 m a b 1 1\n2 f a b 1 1\n1\n0 2\n", Check::assembly, 1,
         "1 -1 ERRO na montagem do Grafo."},
        {read_adjacency_pedigree, "x", Check::adjacency_count, 0,
         "Erro na leitura do arquivo grafo."},
        {read_adjacency_pedigree, "2\n1 m\n", Check::adjacency_record, 2,
         "Erro na leitura do arquivo grafo."},
        {read_adjacency_pedigree, "2\n1 m 2 f\n0 1\n0\n", Check::adjacency_entry, 2,
         "Erro na leitura do arquivo grafo.in."},
        {read_adjacency_pedigree, "-3\n", Check::negative_count, 0,
         "the count of individuals is -3; it must be 0 or more"},
    };
    for (const BadInput& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string path = write(c.text);
        auto loaded = load_pedigree_text(path.c_str(), Passes::two);
        const ReadResult result = c.reader(std::get<std::string>(loaded), path);
        ASSERT_TRUE(result.failure);
        EXPECT_FALSE(result.graph);
        const ReadFailure& f = *result.failure;
        EXPECT_EQ(f.check, c.check);
        EXPECT_EQ(f.record, c.record);
        EXPECT_EQ(f.file, path);
        EXPECT_EQ(f.exit_status(), 1);
        const bool on_stdout = c.check == Check::assembly || c.check == Check::adjacency_count ||
                               c.check == Check::adjacency_record ||
                               c.check == Check::adjacency_entry;
        EXPECT_EQ(f.on_stdout, on_stdout);
        EXPECT_EQ(f.message, on_stdout ? c.message : path + ": " + c.message);
    }
}

TEST_F(Readers, InputThatCannotBeLoadedIsAFailureValue)
{
    using pedigree::Passes;
    const std::string fifo = dir_ / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    auto loaded = pedigree::load_pedigree_text(fifo.c_str(), Passes::two);
    ASSERT_TRUE(std::holds_alternative<pedigree::ReadFailure>(loaded));
    EXPECT_EQ(std::get<pedigree::ReadFailure>(loaded).check, Check::rewind);
    EXPECT_EQ(std::get<pedigree::ReadFailure>(loaded).message,
              fifo + ": cannot read the pedigree from a pipe: the file is read twice and this "
                     "input cannot be rewound; give a regular file");

    for (const std::string& path : {dir_.path().string(), (dir_ / "missing").string()}) {
        loaded = pedigree::load_pedigree_text(path.c_str(), Passes::one);
        ASSERT_TRUE(std::holds_alternative<pedigree::ReadFailure>(loaded));
        EXPECT_EQ(std::get<pedigree::ReadFailure>(loaded).check, Check::open_file);
    }
}

} // namespace
