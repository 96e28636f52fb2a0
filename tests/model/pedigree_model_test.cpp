#include "model/parents_first.h"
#include "model/pedigree_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using kinship::Pedigree;

std::vector<int> ids_of(const Pedigree& p, std::span<const int> indices)
{
    std::vector<int> ids;
    for (const int i : indices) {
        ids.push_back(p.person(i).id);
    }
    return ids;
}

std::string failure_of(const std::string& text)
{
    const auto read = kinship::read_pedigree_model(text, "ped.txt");
    return read ? "" : read.failure().message;
}

TEST(PedigreeModel, LinksParentsListedLaterAndSkipsSelfAndRepeatedParents)
{
    const auto read = kinship::read_pedigree_model("5\n"
                                                   "3 m 1 2 a b 1930 0\n"
                                                   "1 m 0 0 a b 1900 1960\n"
                                                   "2 f 0 0 c d 1905 0\n"
                                                   "4 f 4 2 c d 1932 0\n"
                                                   "6 f 1 1 - - 0 0\n",
                                                   "ped.txt");
    ASSERT_TRUE(read) << read.failure().message;
    const Pedigree& p = read.value();
    ASSERT_EQ(p.size(), 5);
    EXPECT_EQ(p.person(0).line, 2u);
    EXPECT_EQ(p.person(4).line, 6u);
    EXPECT_EQ(p.person(1).clan, "a");
    EXPECT_EQ(p.father(0), 1);
    EXPECT_EQ(p.mother(0), 2);
    EXPECT_EQ(p.father(3), Pedigree::none); // named as their own father
    EXPECT_EQ(p.mother(3), 2);
    EXPECT_EQ(p.father(4), 1); // father and mother the same id: one link
    EXPECT_EQ(p.mother(4), Pedigree::none);
    EXPECT_EQ(ids_of(p, p.children(1)), (std::vector<int>{3, 6}));
    EXPECT_EQ(ids_of(p, p.children(2)), (std::vector<int>{3, 4}));
    EXPECT_EQ(p.links(), 4u);
    EXPECT_EQ(p.find(4), 3);
    EXPECT_EQ(p.find(99), Pedigree::none);

    const auto order = kinship::parents_first(p, "ped.txt");
    ASSERT_TRUE(order);
    EXPECT_EQ(ids_of(p, order.value()), (std::vector<int>{1, 2, 6, 3, 4}));
}

TEST(PedigreeModel, RefusesUnknownAndRepeatedIdsWithTheirLine)
{
    EXPECT_EQ(failure_of("2\n1 m 0 0 a b 0 0\n2 f 1 8 a b 0 0\n"),
              "ped.txt:3: individual 2: the mother id 8 matches no individual");
    EXPECT_EQ(failure_of("2\n1 m 0 0 a b 0 0\n\n1 f 0 0 a b 0 0\n"),
              "ped.txt:4: individual 1: the id 1 is already the id of the individual on line 2; "
              "every individual needs an id of their own");
    // The scanning is the digraph reader's: the same message for a bad item.
    EXPECT_EQ(failure_of("1\n1 m 0 0 a b 1880-1950 0\n"),
              "ped.txt:2: individual 1: the birth value \"1880-1950\" is not an integer");
}

TEST(PedigreeModel, NamesTheIdsOnACycle)
{
    const auto read = kinship::read_pedigree_model(
        "4\n1 m 0 0 a b 0 0\n2 m 4 0 a b 0 0\n3 f 2 1 a b 0 0\n4 m 3 0 a b 0 0\n", "ped.txt");
    ASSERT_TRUE(read);
    const auto order = kinship::parents_first(read.value(), "ped.txt");
    ASSERT_FALSE(order);
    EXPECT_EQ(order.failure().message,
              "ped.txt: individual 2 is their own ancestor, through the parents 2 -> 4 -> 3 -> 2");
}

} // namespace
