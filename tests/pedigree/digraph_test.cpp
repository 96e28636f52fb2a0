#include "pedigree/ed_with_cla.h"
#include "pedigree/pedigree_readers.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

namespace {

pedigree::DigraphPtr with_ids(std::initializer_list<int> ids)
{
    pedigree::DigraphPtr G{DIGRAPHinit(static_cast<int>(ids.size()))};
    int i = 0;
    for (int id : ids) {
        G->id[i++] = id;
    }
    return G;
}

int matrix_ones(const digraph& G)
{
    int ones = 0;
    for (int v = 0; v < G.V; ++v) {
        for (int w = 0; w < G.V; ++w) {
            ones += G.adj[v][w] == 1 ? 1 : 0;
        }
    }
    return ones;
}

TEST(Digraph, EmptyRecordShowsOnlyTheHeader)
{
    pedigree::DigraphPtr G{DIGRAPHinit(0)};
    EXPECT_EQ(G->V, 0);
    EXPECT_EQ(G->A, 0);
    EXPECT_EQ(test_files::capture_stdout([&] { DIGRAPHshow(G.get()); }), "DIGRAFO:\n");
}

TEST(Digraph, FreshRecordIsZeroedAndNameBuffersAreSeparate)
{
    pedigree::DigraphPtr G = with_ids({1, 2, 3});
    for (int i = 0; i < 3; ++i) {
        EXPECT_STREQ(G->cla[i], "");
        for (int j = 0; j < 3; ++j) {
            EXPECT_EQ(G->adj[i][j], 0);
        }
    }
    // Filling every buffer to its limit must not spill into a neighbour.
    for (int i = 0; i < 3; ++i) {
        std::strcpy(G->cla[i], i == 1 ? "bbbbbbbbb" : "aaaaaaaaa");
        std::strcpy(G->subcla[i], "ccccccccc");
    }
    EXPECT_STREQ(G->cla[0], "aaaaaaaaa");
    EXPECT_STREQ(G->cla[1], "bbbbbbbbb");
    EXPECT_STREQ(G->cla[2], "aaaaaaaaa");
}

TEST(Digraph, ArcRulesKeepTheCountEqualToTheMatrix)
{
    pedigree::DigraphPtr G = with_ids({1, 2, 3, 4});
    DIGRAPHinsertA(G.get(), 3, 3);
    EXPECT_EQ(G->A, 0);
    DIGRAPHinsertA(G.get(), 0, 2);
    DIGRAPHinsertA(G.get(), 0, 2);
    EXPECT_EQ(G->A, 1);
    DIGRAPHremoveA(G.get(), 2, 0); // the reverse arc is not there
    EXPECT_EQ(G->A, 1);
    DIGRAPHinsertA(G.get(), 2, 0);
    EXPECT_EQ(G->A, 2);
    DIGRAPHremoveA(G.get(), 0, 2);
    EXPECT_EQ(G->A, 1);
    EXPECT_EQ(G->adj[0][2], 0);
    EXPECT_EQ(G->adj[2][0], 1);
    EXPECT_EQ(matrix_ones(*G), G->A);
}

TEST(Digraph, FindIdReturnsTheLowestIndexOrMinusOne)
{
    pedigree::DigraphPtr G = with_ids({5, 7, 5, -3});
    EXPECT_EQ(find_id(G.get(), 5), 0);
    EXPECT_EQ(find_id(G.get(), 7), 1);
    EXPECT_EQ(find_id(G.get(), -3), 3);
    EXPECT_EQ(find_id(G.get(), 0), -1);
    EXPECT_EQ(find_id(G.get(), 6), -1);
}

TEST(Digraph, ShowListsEachIndividualWithItsChildren)
{
    pedigree::DigraphPtr G = with_ids({10, 11, 12});
    DIGRAPHinsertA(G.get(), 0, 2);
    DIGRAPHinsertA(G.get(), 1, 2);
    EXPECT_EQ(test_files::capture_stdout([&] { DIGRAPHshow(G.get()); }),
              "DIGRAFO:\n   10:   12\n   11:   12\n   12:\n");
}

TEST(Matrix, FillsEveryEntryAndRefusesImpossibleSizes)
{
    int** m = MATRIXinit(3, 4, 7);
    ASSERT_NE(m, nullptr);
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 4; ++j) {
            EXPECT_EQ(m[i][j], 7);
        }
    }
    m[1][3] = 0; // rows do not overlap
    EXPECT_EQ(m[2][0], 7);
    MATRIXdestroy(m);

    int** zero = MATRIXinit(2, 0, 0);
    EXPECT_NE(zero, nullptr);
    MATRIXdestroy(zero);
    EXPECT_EQ(MATRIXinit(-1, 3, 0), nullptr);
    EXPECT_EQ(MATRIXinit(3, -1, 0), nullptr);
    EXPECT_EQ(MATRIXinit(INT_MAX, INT_MAX, 0), nullptr);
}

TEST(Digraph, OversizedRecordsAreRefused)
{
    EXPECT_EQ(pedigree::try_digraph_init(-1), nullptr);
    EXPECT_EQ(pedigree::try_digraph_init(1 << 30), nullptr); // the allocator says no
    EXPECT_FALSE(pedigree::digraph_storage_bytes(-1).has_value());
    EXPECT_GT(*pedigree::digraph_storage_bytes(1000), 4'000'000u);
}

TEST(DigraphDeathTest, InitEndsTheProcessOnImpossibleCounts)
{
    EXPECT_EXIT(DIGRAPHinit(-4), ::testing::ExitedWithCode(1),
                "DIGRAPHinit: the count of individuals is -4; it must be 0 or more");
    EXPECT_EXIT(DIGRAPHinit(2'000'000'000), ::testing::ExitedWithCode(1),
                "DIGRAPHinit: cannot allocate the record for 2000000000 individuals: it needs "
                "16000000[0-9]+ bytes");
}

} // namespace
