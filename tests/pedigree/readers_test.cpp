// The readers: what a good file yields through the entry points, the first failed check of
// a bad one as a value from the cores, and pedigrees at the edges.

#include "pedigree/ed_with_cla.h"
#include "pedigree/pedigree_readers.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <vector>

namespace {

using pedigree::Check;
using pedigree::DigraphPtr;
using pedigree::ReadResult;
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

TEST(Readers, EachLayoutGivesItsIndividualsAndArcs)
{
    const test_files::TempDir dir;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const auto adjacency = [](const char* path) {
        std::filesystem::rename(path, "grafo_adjacencia.in"); // the name it always reads
        return DIGRAPHcosangcreate();
    };
    const struct {
        Digraph (*read)(const char*);
        const char* text;
        Arcs arcs;
    } cases[] = {
        {DIGRAPHcreate_with_cla, "0\n", {}},
        // A child before its parents, a father who is the child itself, a repeated id whose
        // second holder is never found, a father and mother given as the same id, and text
        // after the last record that is never read.
        {DIGRAPHcreate_with_cla,
         "5\n3 f 1 2 c s 1 2\n1 m 0 0 c s 1 2\n2 f 0 0 c s 1 2\n4 m 4 2 c s 1 2\n"
         "1 x 2 2 c s 1 2\n### not a record\n",
         {{1, 0}, {2, 0}, {2, 1}, {2, 3}}},
        {DIGRAPHcreate, "3\n3 1 2 m\n1 0 0 m\n2 0 0 f\n", {{1, 0}, {2, 0}}},
        // Three parents for one child, links in any order, and 0 as an ordinary id.
        {DIGRAPHcreate_with_cla_multi_parents,
         "4\n9 m a b 1 2\n0 f a b 1 2\n7 m a b 1 2\n8 f a b 1 2\n4\n0 9 7 9 8 9 0 9\n",
         {{1, 0}, {2, 0}, {3, 0}}},
        {adjacency, "3\n5 m 6 f 7 m\n1 1 2\n0 0 1\n1 0 0\n", {{0, 1}, {1, 2}, {2, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        dir.write("ped.txt", c.text);
        DigraphPtr G{c.read("ped.txt")};
        EXPECT_EQ(G->V, std::atoi(c.text));
        EXPECT_EQ(arcs_of(*G), c.arcs);
        EXPECT_EQ(G->A, static_cast<int>(c.arcs.size()));
    }
    std::filesystem::current_path(previous);
}

TEST(Readers, BadInputGivesTheFirstFailedCheck)
{
    using namespace pedigree;
    const std::string bom = "\xEF\xBB\xBF";
    const struct {
        ReadResult (*reader)(std::string_view, std::string_view);
        std::string text;
        Check check;
        int record;
        std::string message; // lines that do not name the file go to standard output
    } cases[] = {
        {read_clan_pedigree, "abc", Check::count, 0,
         "ped.txt: cannot read the count of individuals: expected an integer, found \"abc\""},
        {read_clan_pedigree, " \t\r\n\v\f\n", Check::count, 0,
         "ped.txt: cannot read the count of individuals: the file ends before it"},
        // Thousands of digits are read without overflow and shown cut short.
        {read_clan_pedigree, std::string(5000, '9'), Check::count, 0,
         "ped.txt: cannot read the count of individuals: \"" + std::string(40, '9') +
             "\"... is outside the range of an int"},
        {read_clan_pedigree, "-1", Check::negative_count, 0,
         "ped.txt: the count of individuals is -1; it must be 0 or more"},
        // Nothing is allocated before the records are there, so the largest count fails
        // as quickly as a small one, at the first missing record.
        {read_clan_pedigree, "2147483647\n1 m 0 0 a b 1 1\n2 f 0 0 a b 1 1\n", Check::record, 3,
         "ped.txt: record 3: cannot read the individual id: the file ends before it"},
        {read_clan_pedigree, "2\n1 m 0 0 a b 1 1\n2 male 0 0 a b 1 1\n", Check::record, 2,
         "ped.txt: record 2: cannot read the father id: expected an integer, found \"ale\""},
        // A byte-order mark is skipped only at the very start; a NUL byte is an ordinary
        // byte, refused inside a word that a C string would cut short.
        {read_clan_pedigree, "1\n" + bom + "1 m 0 0 a b 1 1\n", Check::record, 1,
         "ped.txt: record 1: cannot read the individual id: expected an integer, found "
         "\"\\xef\\xbb\\xbf1\""},
        {read_clan_pedigree, std::string("\0\0", 2), Check::count, 0,
         "ped.txt: cannot read the count of individuals: expected an integer, found "
         "\"\\x00\\x00\""},
        {read_clan_pedigree, std::string("1\n1 m 0 0 ab\0cd x 1 1\n", 23), Check::record, 1,
         "ped.txt: record 1: the clan word \"ab\\x00cd\" holds a NUL byte"},
        // Clan words are limited in bytes: "Conceição" has 9 letters but 11 bytes.
        {read_clan_pedigree, "1\n1 m 0 0 a Concei\xC3\xA7\xC3\xA3o 1 1\n", Check::word_length, 1,
         "ped.txt: record 1: the sub-clan word \"Concei\\xc3\\xa7\\xc3\\xa3o\" is longer than 9 "
         "bytes (it has 11 bytes in UTF-8)"},
        {read_clan_pedigree, "1\n1 m 0 0 " + std::string(100000, 'w') + " b 1 1\n",
         Check::word_length, 1,
         "ped.txt: record 1: the clan word \"" + std::string(40, 'w') +
             "\"... is longer than 9 characters"},
        {read_clan_pedigree, "2\n1 m 0 0 a b 1 1\n2 f 0 0 a sub\"clan\\x 1 1\n", Check::word_length,
         2,
         "ped.txt: record 2: the sub-clan word \"sub\\\"clan\\\\x\" is longer than 9 characters"},
        {read_clan_pedigree, "3\n1 m 0 0 a b 1 1\n2 f 9 0 a b 1 1\n3 m 1 8 a b 1 1\n",
         Check::assembly, 2, "1 -1 -2 ERRO na montagem do Grafo."},
        {read_four_column_pedigree, "2\n1 0 0 m\n2 1 7\n", Check::record, 2,
         "ped.txt: record 2: cannot read the sex: the file ends before it"},
        {read_links_pedigree, "1\n1 m a b 1 1\n", Check::link_count, 0,
         "ped.txt: cannot read the number of links: the file ends before it"},
        {read_links_pedigree, "1\n1 m a b 1 1\n-2\n", Check::negative_count, 0,
         "ped.txt: the count of links is -2; it must be 0 or more"},
        {read_links_pedigree, "1\n1 m a b 1 1\n2\n1 1\n1\n", Check::link, 2,
         "ped.txt: link 2: cannot read the child id: the file ends before it"},
        {read_links_pedigree, "2\n1 m a b 1 1\n2 f a b 1 1\n3\n1 2\n5 2\nx", Check::assembly, 2,
         "1 -1 ERRO na montagem do Grafo."},
        {read_adjacency_pedigree, "x", Check::adjacency_count, 0,
         "Erro na leitura do arquivo grafo."},
        {read_adjacency_pedigree, "2\n1 m\n", Check::adjacency_record, 2,
         "Erro na leitura do arquivo grafo."},
        {read_adjacency_pedigree, "2\n1 m 2 f\n0 1\n0\n", Check::adjacency_entry, 2,
         "Erro na leitura do arquivo grafo.in."},
        {read_adjacency_pedigree, "-3\n", Check::negative_count, 0,
         "ped.txt: the count of individuals is -3; it must be 0 or more"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const ReadResult result = c.reader(c.text, "ped.txt");
        ASSERT_TRUE(result.failure);
        EXPECT_EQ(result.failure->check, c.check);
        EXPECT_EQ(result.failure->record, c.record);
        EXPECT_EQ(result.failure->message, c.message);
        EXPECT_EQ(result.failure->on_stdout, !c.message.starts_with("ped.txt: "));
    }
}

TEST(Readers, ValuesAtTheEdgesAreRead)
{
    // 32-bit limits, a NUL byte as sex (simply not 'm'), and clan words of nine bytes, in
    // UTF-8 too ("Tupí").
    using namespace std::string_literals;
    const auto result =
        pedigree::read_clan_pedigree("2\n2147483647 m 0 0 abcdefghi Tup\xC3\xAD -2147483648 0\n"
                                     "-2147483648 \0 2147483647 2147483647 a b 0 -0\n"s,
                                     "f");
    ASSERT_TRUE(result.graph) << result.failure->message;
    const digraph& G = *result.graph;
    EXPECT_EQ(G.id[1], -2147483648);
    EXPECT_EQ(G.nasc[0], -2147483648);
    EXPECT_EQ(G.sexo[1], '\0');
    EXPECT_STREQ(G.cla[0], "abcdefghi");
    EXPECT_STREQ(G.subcla[0], "Tup\xC3\xAD");
    EXPECT_EQ(G.adj[0][1], 1);
    EXPECT_EQ(G.A, 1);
}

TEST(Readers, CrlfLineEndsAndAByteOrderMarkRead)
{
    const std::string bom = "\xEF\xBB\xBF";
    const std::string family = "3\r\n101 m 0 0 north low 1900 1960\r\n"
                               "102 f 0 0 south high 1905 1970\r\n"
                               "103 m 101 102 north low 1930 1990\r\n";
    for (const std::string& text : {family, bom + family}) {
        const auto result = pedigree::read_clan_pedigree(text, "f");
        ASSERT_TRUE(result.graph) << result.failure->message;
        const digraph& G = *result.graph;
        EXPECT_EQ(G.id[2], 103);
        EXPECT_EQ(G.sexo[1], 'f');
        EXPECT_STREQ(G.cla[1], "south");
        EXPECT_STREQ(G.subcla[2], "low"); // no carriage return kept
        EXPECT_EQ(G.nasc[0], 1900);
        EXPECT_EQ(G.morte[2], 1990);
        EXPECT_EQ(G.A, 2);
    }
    EXPECT_TRUE(pedigree::read_four_column_pedigree(bom + "1\r\n1 0 0 m\r\n", "f").graph);
    EXPECT_TRUE(pedigree::read_links_pedigree(bom + "1\r\n1 m a b 1 1\r\n0\r\n", "f").graph);
    EXPECT_TRUE(pedigree::read_adjacency_pedigree(bom + "1\r\n1 m\r\n0\r\n", "f").graph);
}

} // namespace
