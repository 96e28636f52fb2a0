#include "model/marriages.h"
#include "model/pedigree_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using kinship::Pedigree;

// 1 and 2 have a child 5; 3 and 4 none; 6 is a man.
const Pedigree pedigree = kinship::read_pedigree_model(
                              "6\n1 m 0 0 a x 0 0\n2 f 0 0 a x 0 0\n3 m 0 0 b y 0 0\n"
                              "4 f 0 0 b y 0 0\n5 f 1 2 a x 0 0\n6 m 0 0 c z 0 0\n",
                              "ped.txt")
                              .value();

std::string failure_of(const std::string& text)
{
    const auto read = kinship::read_marriages(text, "m.tsv", pedigree);
    return read ? "" : read.failure().message;
}

TEST(MarriagesTable, RowsBecomeCouplesEachPairOnceTableFirst)
{
    // CRLF, a blank line, a remarriage, the same couple again (the other way round, with the
    // year the first row lacks), a couple of the same sex, an empty year.
    const auto read = kinship::read_marriages(
        "husband\twife\tyear\txref\r\n3\t4\t0\t@F2@\r\n\r\n3\t2\t1950\t\n 4 \t3\t1941\t@F9@\n"
        "6\t3\t\t\n",
        "m.tsv", pedigree);
    ASSERT_TRUE(read) << read.failure().message;
    EXPECT_EQ(read.value().header, "husband\twife\tyear\txref");
    ASSERT_EQ(read.value().rows.size(), 4u);
    EXPECT_EQ(read.value().rows[3].row, "6\t3\t\t");

    Pedigree p = pedigree;
    std::vector<kinship::Couple> rows;
    for (const auto& row : read.value().rows) {
        rows.push_back(row.couple);
    }
    p.set_marriages(rows);
    std::vector<std::string> couples;
    for (int c = 0; c < static_cast<int>(p.couples().size()); ++c) {
        const kinship::Couple& couple = p.couples()[static_cast<std::size_t>(c)];
        couples.push_back(std::to_string(p.person(couple.husband).id) + "+" +
                          std::to_string(p.person(couple.wife).id) + " " +
                          std::to_string(couple.year) + " children " +
                          std::to_string(p.couple_children(c).size()));
    }
    EXPECT_EQ(couples, (std::vector<std::string>{"3+4 1941 children 0", "3+2 1950 children 0",
                                                 "6+3 0 children 0", "1+2 0 children 1"}));
    // Without a table: the parents of common children alone, as before.
    EXPECT_EQ(pedigree.couples().size(), 1u);
}

TEST(MarriagesTable, BadRowsNameTheFileTheLineAndTheFault)
{
    const std::string header = "husband\twife\tyear\txref\n";
    EXPECT_EQ(failure_of(header + "1\t2\t0\n"),
              "m.tsv:2: expected husband<TAB>wife<TAB>year<TAB>cross-reference, found 3 fields");
    EXPECT_EQ(failure_of(header + "\n1\t7\t0\t\n"),
              "m.tsv:3: the wife id 7 is no individual of the pedigree");
    EXPECT_EQ(failure_of(header + "x1\t2\t0\t\n"),
              "m.tsv:2: the husband id \"x1\" is not a whole number");
    EXPECT_EQ(failure_of(header + "3\t3\t0\t\n"), "m.tsv:2: individual 3 is married to themself");
    EXPECT_EQ(failure_of(header + "3\t4\tc.1900\t\n"),
              "m.tsv:2: the year \"c.1900\" is not a whole number");
    const auto missing = kinship::load_marriages("no/such.tsv", pedigree);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.failure().message,
              "no/such.tsv: cannot open the marriages table: No such file or directory");
}

} // namespace
