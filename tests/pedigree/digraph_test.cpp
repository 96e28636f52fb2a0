// The digraph record, the matrix and the work containers.
#include "pedigree/ed_with_cla.h"
#include "pedigree/pedigree_readers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

namespace {

pedigree::DigraphPtr with_ids(std::initializer_list<int> ids)
{
    pedigree::DigraphPtr G{DIGRAPHinit(static_cast<int>(ids.size()))};
    std::copy(ids.begin(), ids.end(), G->id);
    return G;
}

TEST(Digraph, ArcsKeepMatrixAndCountInStepAndIdsAreFound)
{
    pedigree::DigraphPtr G = with_ids({1, 2, 3, 4, 5});
    for (auto [v, w] : {std::pair{3, 3}, {0, 4}, {0, 2}, {0, 2}, {0, 1}, {0, 3}, {2, 0}}) {
        DIGRAPHinsertA(G.get(), v, w);
    }
    DIGRAPHremoveA(G.get(), 1, 0); // not there
    DIGRAPHremoveA(G.get(), 0, 2);
    EXPECT_EQ(G->A, 4); // no loop, no second arc, one removed
    EXPECT_EQ(G->adj[0][2], 0);
    G->id[2] = 1; // find_id: the lowest index holding the id, or -1
    EXPECT_EQ(find_id(G.get(), 1), 0);
    EXPECT_EQ(find_id(G.get(), 5), 4);
    EXPECT_EQ(find_id(G.get(), 0), -1);
}

TEST(Digraph, ShowListsEachIndividualWithItsChildren)
{
    pedigree::DigraphPtr G = with_ids({10, 11, 12});
    DIGRAPHinsertA(G.get(), 0, 2);
    DIGRAPHinsertA(G.get(), 1, 2);
    ::testing::internal::CaptureStdout();
    DIGRAPHshow(with_ids({}).get());
    DIGRAPHshow(G.get());
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "DIGRAFO:\nDIGRAFO:\n   10:   12\n   11:   12\n   12:\n");
}

TEST(DigraphDeathTest, ImpossibleSizesAreRefusedWithTheMemoryTheyNeed)
{
    int** m = MATRIXinit(3, 4, 7);
    m[1][3] = 0; // rows do not overlap
    EXPECT_EQ(m[2][0], 7);
    MATRIXdestroy(m);
    EXPECT_EQ(MATRIXinit(-1, 3, 0), nullptr);
    EXPECT_EQ(MATRIXinit(INT_MAX, INT_MAX, 0), nullptr);
    EXPECT_EQ(pedigree::try_digraph_init(1 << 30), nullptr); // the allocator says no
    EXPECT_EXIT(DIGRAPHinit(-4), ::testing::ExitedWithCode(1),
                "DIGRAPHinit: the count of individuals is -4; it must be 0 or more");
    EXPECT_EXIT(DIGRAPHinit(2'000'000'000), ::testing::ExitedWithCode(1),
                "DIGRAPHinit: cannot allocate the record for 2000000000 individuals: it needs "
                "16000000[0-9]+ bytes");
}

TEST(Containers, QueueFirstInFirstOutAcrossTheFoldStackLastInFirstOutMatrixRowsSet)
{
    EXPECT_EQ(FILAinit(INT_MAX), nullptr); // 2n slots do not fit an int
    EXPECT_EQ(PILHAinit(-1), nullptr);
    fila* q = FILAinit(2);
    pilha* s = PILHAinit(2);
    for (int v : {1, 2, 3, 4}) {
        FILAinsertV(q, v);
        PILHAinsertV(s, v);
    }
    EXPECT_EQ(FILAfull(q), 1);
    EXPECT_EQ(FILAremoveV(q), 1);
    FILAinsertV(q, 5); // into the slot just freed
    for (int v : {2, 3, 4, 5}) {
        EXPECT_EQ(FILAremoveV(q), v);
        EXPECT_EQ(PILHAremoveV(s), 6 - v);
    }
    EXPECT_EQ(FILAempty(q), 1);
    FILAdestroy(q);
    PILHAdestroy(s);
    int m[3][3] = {{0, 0, 0}, {0, 0, 0}, {5, 5, 5}};
    inicializa_matriz(m, 2, 10); // never past the third column
    EXPECT_EQ(m[1][0] + m[1][2], -2);
    EXPECT_EQ(m[2][0], 5);
}

} // namespace
