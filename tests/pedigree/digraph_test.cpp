#include "pedigree/ed_with_cla.h"
#include "pedigree/pedigree_readers.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

pedigree::DigraphPtr with_ids(std::initializer_list<int> ids)
{
    pedigree::DigraphPtr G{DIGRAPHinit(static_cast<int>(ids.size()))};
    std::copy(ids.begin(), ids.end(), G->id);
    return G;
}

std::string shown(digraph& G)
{
    return test_files::capture_stdout([&] { DIGRAPHshow(&G); });
}

TEST(Digraph, FreshRecordIsZeroedAndNameBuffersAreSeparate)
{
    pedigree::DigraphPtr G = with_ids({1, 2, 3});
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(G->adj[i][0] + G->adj[i][1] + G->adj[i][2], 0);
        // Filling every buffer to its limit must not spill into a neighbour.
        std::strcpy(G->cla[i], i == 1 ? "bbbbbbbbb" : "aaaaaaaaa");
        std::strcpy(G->subcla[i], "ccccccccc");
    }
    EXPECT_STREQ(G->cla[0], "aaaaaaaaa");
    EXPECT_STREQ(G->cla[1], "bbbbbbbbb");
    EXPECT_STREQ(G->cla[2], "aaaaaaaaa");
}

TEST(Digraph, NoSelfArcNoRepeatedArcAndTheCountFollowsTheMatrix)
{
    pedigree::DigraphPtr G = with_ids({1, 2, 3, 4});
    DIGRAPHinsertA(G.get(), 3, 3);
    DIGRAPHinsertA(G.get(), 0, 2);
    DIGRAPHinsertA(G.get(), 0, 2);
    DIGRAPHremoveA(G.get(), 2, 0); // the reverse arc is not there
    EXPECT_EQ(G->A, 1);
    EXPECT_EQ(G->adj[3][3], 0);
    DIGRAPHinsertA(G.get(), 2, 0);
    DIGRAPHremoveA(G.get(), 0, 2);
    EXPECT_EQ(G->A, 1);
    EXPECT_EQ(G->adj[0][2], 0);
    EXPECT_EQ(G->adj[2][0], 1);
}

TEST(Digraph, FindIdReturnsTheLowestIndexOrMinusOne)
{
    pedigree::DigraphPtr G = with_ids({5, 7, 5, -3});
    EXPECT_EQ(find_id(G.get(), 5), 0);
    EXPECT_EQ(find_id(G.get(), -3), 3);
    EXPECT_EQ(find_id(G.get(), 0), -1);
}

TEST(Digraph, ShowListsEachIndividualWithItsChildren)
{
    EXPECT_EQ(shown(*with_ids({})), "DIGRAFO:\n");
    pedigree::DigraphPtr G = with_ids({10, 11, 12});
    DIGRAPHinsertA(G.get(), 0, 2);
    DIGRAPHinsertA(G.get(), 1, 2);
    EXPECT_EQ(shown(*G), "DIGRAFO:\n   10:   12\n   11:   12\n   12:\n");
}

TEST(Matrix, FillsEveryEntryAndRefusesImpossibleSizes)
{
    int** m = MATRIXinit(3, 4, 7);
    m[1][3] = 0; // rows do not overlap
    EXPECT_EQ(m[0][0] + m[2][0] + m[2][3], 21);
    MATRIXdestroy(m);
    EXPECT_EQ(MATRIXinit(-1, 3, 0), nullptr);
    EXPECT_EQ(MATRIXinit(3, -1, 0), nullptr);
    EXPECT_EQ(MATRIXinit(INT_MAX, INT_MAX, 0), nullptr);
}

TEST(DigraphDeathTest, ImpossibleCountsAreRefusedWithTheMemoryTheyNeed)
{
    EXPECT_EQ(pedigree::try_digraph_init(-1), nullptr);
    EXPECT_EQ(pedigree::try_digraph_init(1 << 30), nullptr); // the allocator says no
    EXPECT_EXIT(DIGRAPHinit(-4), ::testing::ExitedWithCode(1),
                "DIGRAPHinit: the count of individuals is -4; it must be 0 or more");
    EXPECT_EXIT(DIGRAPHinit(2'000'000'000), ::testing::ExitedWithCode(1),
                "DIGRAPHinit: cannot allocate the record for 2000000000 individuals: it needs "
                "16000000[0-9]+ bytes");
}

} // namespace
