// Pedigree files at the edges: 32-bit limits, counts beyond the records, empty and blank
// files, NUL bytes, CRLF line ends, a byte-order mark, long items and UTF-8 clan names. Each
// either reads or stops at a check that says why. The messages as the command prints them,
// and a record too large to allocate, are checked in tests/command/test_command.py.

#include "pedigree/ed_with_cla.h"
#include "pedigree/pedigree_readers.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using pedigree::Check;
using pedigree::ReadResult;

using Reader = ReadResult (*)(std::string_view, std::string_view);
constexpr Reader all_readers[] = {pedigree::read_clan_pedigree, pedigree::read_four_column_pedigree,
                                  pedigree::read_links_pedigree, pedigree::read_adjacency_pedigree};

ReadResult clan(std::string_view text)
{
    return pedigree::read_clan_pedigree(text, "ped.txt");
}

// The message of a failed read, or "read" when it succeeded.
std::string outcome(const ReadResult& result)
{
    return result.failure ? result.failure->message : "read";
}

TEST(OddPedigrees, IdsAndValuesAtTheEdgesOfTheIntRange)
{
    const auto result = clan("2\n"
                             "2147483647 m 0 0 a b -2147483648 2147483647\n"
                             "-2147483648 f 2147483647 2147483647 a b 0 -0\n");
    ASSERT_TRUE(result.graph) << outcome(result);
    const digraph& G = *result.graph;
    EXPECT_EQ(G.id[0], 2147483647);
    EXPECT_EQ(G.id[1], -2147483648);
    EXPECT_EQ(G.nasc[0], -2147483648);
    EXPECT_EQ(G.morte[0], 2147483647);
    EXPECT_EQ(G.adj[0][1], 1); // father and mother the same id: one arc
    EXPECT_EQ(G.A, 1);

    EXPECT_EQ(outcome(clan("1\n1 m 2147483648 0 a b 1 1\n")),
              "ped.txt: record 1: cannot read the father id: \"2147483648\" is outside the range "
              "of an int");
    EXPECT_EQ(outcome(clan("1\n1 m 0 0 a b 1 -2147483649\n")),
              "ped.txt: record 1: cannot read the death value: \"-2147483649\" is outside the "
              "range of an int");
    // Leading zeros do not count towards the range; a run of thousands of digits is read
    // without overflow and shown cut short.
    EXPECT_EQ(outcome(clan("00000000000000000001 1 m 0 0 a b 1 1")), "read");
    EXPECT_EQ(outcome(clan(std::string(5000, '9'))),
              "ped.txt: cannot read the count of individuals: "
              "\"9999999999999999999999999999999999999999\"... is outside the range of an int");
}

TEST(OddPedigrees, CountsBeyondTheRecordsStopAtTheFirstMissingRecord)
{
    // Nothing is allocated for the count before the records are there, so the largest
    // counts fail as quickly as small ones, at the record that is missing.
    for (const char* count : {"2147483647", "1000000000", "3"}) {
        const auto result = clan(std::string(count) + "\n1 m 0 0 a b 1 1\n2 f 0 0 a b 1 1\n");
        ASSERT_TRUE(result.failure) << count;
        EXPECT_EQ(result.failure->check, Check::record) << count;
        EXPECT_EQ(result.failure->record, 3) << count;
    }
    EXPECT_EQ(outcome(clan("-2147483648")),
              "ped.txt: the count of individuals is -2147483648; it must be 0 or more");
}

TEST(OddPedigrees, EmptyBlankAndBinaryFilesHaveNoCount)
{
    for (const std::string& text : {std::string(), std::string(" \t\r\n\v\f\n")}) {
        for (const Reader reader : all_readers) {
            const auto result = reader(text, "ped.txt");
            ASSERT_TRUE(result.failure);
            EXPECT_TRUE(result.failure->check == Check::count ||
                        result.failure->check == Check::adjacency_count);
        }
    }
    // A NUL byte is an ordinary non-blank byte: shown escaped where a number is expected.
    EXPECT_EQ(outcome(clan(std::string("\0\0\0", 3))),
              "ped.txt: cannot read the count of individuals: expected an integer, found "
              "\"\\x00\\x00\\x00\"");
}

TEST(OddPedigrees, NulBytesInsideAWordAreRefusedNotCut)
{
    const auto result = clan(std::string("1\n1 m 0 0 ab\0cd x 1 1\n", 23));
    ASSERT_TRUE(result.failure);
    EXPECT_EQ(result.failure->check, Check::record);
    EXPECT_EQ(result.failure->message,
              "ped.txt: record 1: the clan word \"ab\\x00cd\" holds a NUL byte");
    // The sex is one character, whatever it is: a NUL there is simply not 'm'.
    const auto sex = clan(std::string("1\n1 \0 0 0 a b 1 1\n", 19));
    ASSERT_TRUE(sex.graph) << outcome(sex);
    EXPECT_EQ(sex.graph->sexo[0], '\0');
}

TEST(OddPedigrees, CrlfLineEndsAndAByteOrderMarkRead)
{
    const std::string family = "3\r\n101 m 0 0 north low 1900 1960\r\n"
                               "102 f 0 0 south high 1905 1970\r\n"
                               "103 m 101 102 north low 1930 1990\r\n";
    for (const std::string& text : {family, "\xEF\xBB\xBF" + family}) {
        const auto result = clan(text);
        ASSERT_TRUE(result.graph) << outcome(result);
        EXPECT_EQ(result.graph->V, 3);
        EXPECT_STREQ(result.graph->subcla[2], "low"); // no carriage return kept
        EXPECT_EQ(result.graph->morte[2], 1990);
        EXPECT_EQ(result.graph->A, 2);
    }
    const std::string bom = "\xEF\xBB\xBF";
    EXPECT_TRUE(pedigree::read_four_column_pedigree(bom + "1\r\n1 0 0 m\r\n", "f").graph);
    EXPECT_TRUE(pedigree::read_links_pedigree(bom + "1\r\n1 m a b 1 1\r\n0\r\n", "f").graph);
    EXPECT_TRUE(pedigree::read_adjacency_pedigree(bom + "1\r\n1 m\r\n0\r\n", "f").graph);
    // Only at the very start: elsewhere the mark is part of an item.
    EXPECT_EQ(outcome(clan("1\n" + bom + "1 m 0 0 a b 1 1\n")),
              "ped.txt: record 1: cannot read the individual id: expected an integer, found "
              "\"\\xef\\xbb\\xbf1\"");
}

TEST(OddPedigrees, ClanWordsAreLimitedToNineBytes)
{
    // "São" and "Tupí" fit; "Conceição" has 9 letters but 11 bytes in UTF-8.
    const auto fits = clan("2\n1 m 0 0 S\xC3\xA3o Tup\xC3\xAD 1 1\n2 f 0 0 abcdefghi x 1 1\n");
    ASSERT_TRUE(fits.graph) << outcome(fits);
    EXPECT_STREQ(fits.graph->cla[0], "S\xC3\xA3o");
    EXPECT_STREQ(fits.graph->subcla[0], "Tup\xC3\xAD");
    EXPECT_STREQ(fits.graph->cla[1], "abcdefghi");

    EXPECT_EQ(clan("1\n1 m 0 0 a Concei\xC3\xA7\xC3\xA3o 1 1\n").failure->check,
              Check::word_length);
    // A very long word is shown cut short.
    EXPECT_EQ(outcome(clan("1\n1 m 0 0 " + std::string(100000, 'w') + " b 1 1\n")),
              "ped.txt: record 1: the clan word \"" + std::string(40, 'w') +
                  "\"... is longer than 9 characters");
}

} // namespace
