#include "pedigree/ed_with_cla.h"
#include "pedigree/pedigree_readers.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using namespace std::string_literals;
using Arcs = std::vector<std::pair<int, int>>;
const std::string bom = "\xEF\xBB\xBF";

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

TEST(ReaderFilesDeathTest, EachLayoutGivesItsIndividualsAndArcsAndFailuresEndTheRun)
{
    // In a fresh folder: the adjacency reader always reads the same name there.
    std::string folder = std::filesystem::temp_directory_path() / "kinship-test-XXXXXX";
    ASSERT_NE(::mkdtemp(folder.data()), nullptr);
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    const auto write = [](const char* name, const std::string& text) {
        std::ofstream(name) << text;
    };
    const auto read = [](const char* name) {
        return (std::stringstream() << std::ifstream(name).rdbuf()).str();
    };
    const auto adjacency = [](const char*) { return DIGRAPHcosangcreate(); };
    const struct {
        Digraph (*read)(const char*);
        std::string text;
        int V;
        Arcs arcs;
    } cases[] = {
        // A child before its parents, a father who is the child itself, a repeated id (its
        // second holder is never found), one id as father and mother, and unread text.
        {DIGRAPHcreate_with_cla,
         bom + "5\n3 f 1 2 c s 1 2\n1 m 0 0 c s 1 2\n2 f 0 0 c s 1 2\n4 m 4 2 c s 1 2\n"
         "1 x 2 2 c s 1 2\n### not a record\n",
         5, {{1, 0}, {2, 0}, {2, 1}, {2, 3}}},
        // A byte-order mark and CRLF line ends in every layout.
        {DIGRAPHcreate, bom + "3\r\n3 1 2 m\r\n1 0 0 m\r\n2 0 0 f\r\n", 3, {{1, 0}, {2, 0}}},
        // Three parents for one child, links in any order, and 0 as an ordinary id.
        {DIGRAPHcreate_with_cla_multi_parents,
         bom + "4\r\n9 m a b 1 2\r\n0 f a b 1 2\n7 m a b 1 2\n8 f a b 1 2\n4\n0 9 7 9 8 9 0 9\n",
         4, {{1, 0}, {2, 0}, {3, 0}}},
        {adjacency, bom + "3\r\n5 m 6 f 7 m\r\n1 1 2\n0 0 1\n1 0 0\n", 3,
         {{0, 1}, {1, 2}, {2, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        write(pedigree::adjacency_file_name, c.text);
        pedigree::DigraphPtr G{c.read(pedigree::adjacency_file_name)};
        EXPECT_EQ(G->V, c.V);
        EXPECT_EQ(arcs_of(*G), c.arcs);
        EXPECT_EQ(G->A, static_cast<int>(c.arcs.size()));
    }
    // An entry point ends the run with status 1 and the message on its stream. Death tests
    // see only standard error: the dying statement sends standard output to a file.
    write("ped.txt", "2\n1 m 0 0 a b 1 1\n2 f 0 44 a b 1 1\n");
    const auto read_to_file = [](const char* path) {
        if (std::freopen("stdout.txt", "w", stdout) != nullptr) {
            DIGRAPHcreate_with_cla(path);
        }
    };
    EXPECT_EXIT(read_to_file("missing.txt"), ::testing::ExitedWithCode(1),
                "^missing.txt: cannot open the pedigree file: No such file or directory\n$");
    EXPECT_EQ(read("stdout.txt"), "");
    EXPECT_EXIT(read_to_file("ped.txt"), ::testing::ExitedWithCode(1),
                "^ped.txt:3: individual 2: the mother id 44 matches no individual\n$");
    EXPECT_EQ(read("stdout.txt"), "1 -2 -1 ERRO na montagem do Grafo.\n");
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
}

TEST(Readers, BadInputGivesTheFirstFailedCheck)
{
    const auto clan = pedigree::read_clan_pedigree;
    const auto four = pedigree::read_four_column_pedigree;
    const auto links = pedigree::read_links_pedigree;
    const auto adjacency = pedigree::read_adjacency_pedigree;
    const std::string f = "ped.txt:"; // messages without it go to standard output
    const std::string count = f + "1: the count of individuals ";
    const std::string too_long = " bytes long; clan and sub-clan words may be at most 9 bytes, "
                                 "where an accented letter takes 2";
    const std::string spreadsheet =
        f + "1: this looks like a spreadsheet saved with commas or tabs and a header row; a "
            "pedigree is plain text without a header: the number of individuals, then one "
            "individual per line, its items separated by blanks";
    const struct {
        pedigree::ReaderCore reader;
        std::string text;
        std::string message;
        std::string note = ""; // the line for standard error that goes with the failure
    } cases[] = {
        {clan, "- 1", count + "\"-\" is not an integer"}, // a sign touches its digits
        // Thousands of digits are read without overflow and shown cut short.
        {clan, std::string(5000, '9'),
         count + "\"" + std::string(40, '9') +
             "\"... is outside the 32-bit integer range, -2147483648 to 2147483647"},
        // Nothing is allocated before the records are there, so the largest count fails
        // as quickly as a small one, at the first missing record.
        {clan, "2147483647\n1 m 0 0 a b 1 1\n2 f 0 0 a b 1 1\n",
         "ped.txt: record 3: cannot read the individual id: the file ends before it"},
        // Every item is a whole word: no reading "male" as m, "1880-1950" as 1880 then
        // -1950, or "2O1" as 2 then a bad next item.
        {clan, "2\n1 m 0 0 a b 1 1\n2 male 0 0 a b 1 1\n",
         f + "3: individual 2: the sex \"male\" is not one character: m for a man, any other "
             "single character for a woman"},
        {clan, "1\n\n 305 m 0 0 a b 1880-1950\n",
         f + "3: individual 305: the birth value \"1880-1950\" is not an integer"},
        {four, "1\n1 2O1 0 m\n", f + "2: individual 1: the father id \"2O1\" is not an integer"},
        {links, "1\n1 m a b 1 1\n1\n1 1x\n",
         f + "4: link 1: the child id \"1x\" is not an integer"},
        {adjacency, "1\n1 m\n1x\n", "Erro na leitura do arquivo grafo.in."},
        // A clan written as two words pushes a word into the birth value.
        {clan, "1\n1 m 0 0 north east low 1 1\n",
         f + "2: individual 1: the birth value \"low\" is not an integer; a clan or sub-clan "
             "word cannot contain a blank (write north_east, not north east)"},
        {clan, "id,sex,father,mother\n1,m,0,0\n", spreadsheet},
        {links, "id\tsex\n1\tm\n", spreadsheet},
        // A byte-order mark is skipped only at the very start, and shown escaped elsewhere;
        // a NUL byte is an ordinary byte, refused inside a word that a C string would cut.
        {clan, "1\n" + bom + "1 m 0 0 a b 1 1\n",
         f + "2: record 1: the individual id \"\\xef\\xbb\\xbf1\" is not an integer"},
        {clan, "1\n1 m 0 0 ab\0cd x 1 1\n"s,
         f + "2: individual 1: the clan word \"ab\\x00cd\" holds a NUL byte"},
        // Clan words are limited in bytes: "Conceição" has 9 letters but 11 bytes. UTF-8
        // is shown as text; an invalid byte, a quote and a backslash escaped.
        {clan, "1\n1 m 0 0 a Concei\xC3\xA7\xC3\xA3o 1 1\n",
         f + "2: individual 1: the sub-clan word \"Concei\xC3\xA7\xC3\xA3o\" is 11" + too_long},
        {clan, "2\n1 m 0 0 a b 1 1\n2 f 0 0 a sub\"cl\xE1n\\x 1 1\n",
         f + "3: individual 2: the sub-clan word \"sub\\\"cl\\xe1n\\\\x\" is 10" + too_long},
        {clan, "3\n1 m 0 0 a b 1 1\n2 f 9 0 a b 1 1\n3 m 1 8 a b 1 1\n",
         "1 -1 -2 ERRO na montagem do Grafo.",
         f + "3: individual 2: the father id 9 matches no individual"},
        {four, "2\n1 0 0 m\n2 1 7\n",
         "ped.txt: individual 2: cannot read the sex: the file ends before it"},
        {links, "1\n1 m a b 1 1\n",
         "ped.txt: cannot read the number of links: the file ends before it"},
        {links, "1\n1 m a b 1 1\n-2\n", f + "3: the count of links is -2; it must be 0 or more"},
        {links, "1\n1 m a b 1 1\n2\n1 1\n1\n",
         "ped.txt: link 2: cannot read the child id: the file ends before it"},
        {links, "2\n1 m a b 1 1\n2 f a b 1 1\n3\n1 2\n5 2\nx", "1 -1 ERRO na montagem do Grafo.",
         f + "6: link 2: the parent id 5 matches no individual"},
        {adjacency, "x", "Erro na leitura do arquivo grafo."},
        {adjacency, "2\n1 m\n", "Erro na leitura do arquivo grafo."},
        {adjacency, "2\n1 m 2 f\n0 1\n0\n", "Erro na leitura do arquivo grafo.in."},
        {adjacency, "-3\n", count + "is -3; it must be 0 or more"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        pedigree::Notes notes;
        const auto result = c.reader(c.text, "ped.txt", &notes);
        ASSERT_FALSE(result);
        EXPECT_EQ(result.failure().message, c.message);
        EXPECT_EQ(result.failure().status, 1);
        EXPECT_EQ(result.failure().on_stdout, !c.message.starts_with("ped.txt"));
        EXPECT_EQ(result.failure().note, c.note);
        EXPECT_TRUE(notes.empty());
    }
}

TEST(Readers, ValuesAtTheEdgesAreRead)
{
    // 32-bit limits (leading zeros and a plus sign allowed), any whitespace between items,
    // a NUL byte as sex (simply not 'm'), and clan words of nine bytes, in UTF-8 too
    // ("Tupí"), or holding digits.
    const auto result = pedigree::read_clan_pedigree(
        "2\r\n+2147483647 m 0 0 abcdefghi Tup\xC3\xAD -0000000000002147483648 0\r\n"
        "-2147483648 \0 2147483647 2147483647 a\tb1\v0\f-0\r\n"s,
        "f");
    ASSERT_TRUE(result) << result.failure().message;
    const digraph& G = *result.value();
    EXPECT_EQ(std::tuple(G.id[0], G.id[1], G.nasc[0], G.morte[1], G.sexo[1]),
              std::tuple(INT_MAX, INT_MIN, INT_MIN, 0, '\0'));
    EXPECT_STREQ(G.cla[0], "abcdefghi");
    EXPECT_STREQ(G.subcla[0], "Tup\xC3\xAD");
    EXPECT_STREQ(G.subcla[1], "b1");
    EXPECT_EQ(arcs_of(G), (Arcs{{0, 1}}));
}

TEST(Readers, TextAfterTheLastRecordIsNotedAndNotRead)
{
    const struct {
        pedigree::ReaderCore reader;
        std::string text;
        pedigree::Notes notes;
    } cases[] = {
        {pedigree::read_clan_pedigree, "1\n1 m 0 0 a b 1 1\n2 f 1 9 a b 1 1\n\n3 m\n\n",
         {"ped.txt:3: note: the count of individuals on line 1 is 1, so lines 3 to 5 were not "
          "read"}},
        {pedigree::read_links_pedigree, "1\n1 m a b 1 1\n\n0\n1 1",
         {"ped.txt:5: note: the number of links on line 4 is 0, so line 5 was not read"}},
        {pedigree::read_four_column_pedigree, "1\n1 0 0 m\n\n", {}},
    };
    for (const auto& c : cases) {
        pedigree::Notes notes;
        const auto result = c.reader(c.text, "ped.txt", &notes);
        ASSERT_TRUE(result) << result.failure().message;
        EXPECT_EQ(result.value()->V, 1);
        EXPECT_EQ(notes, c.notes);
    }
}

} // namespace
