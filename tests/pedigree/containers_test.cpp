#include "pedigree/ed_with_cla.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(Fila, FreshQueueIsEmptyAndNotFull)
{
    fila* q = FILAinit(2);
    EXPECT_EQ(q->N, 4);
    EXPECT_EQ(FILAempty(q), 1);
    EXPECT_EQ(FILAfull(q), 0);
    FILAdestroy(q);
}

TEST(Fila, KeepsFirstInFirstOutWithinItsLifetime)
{
    fila* q = FILAinit(2);
    for (int v : {1, 2, 3}) {
        FILAinsertV(q, v);
    }
    EXPECT_EQ(FILAfull(q), 0);
    EXPECT_EQ(FILAremoveV(q), 1);
    EXPECT_EQ(FILAremoveV(q), 2);
    EXPECT_EQ(FILAremoveV(q), 3);
    EXPECT_EQ(FILAempty(q), 1);
    FILAdestroy(q);
}

TEST(Fila, TailStaysAtTheEndUntilTheNextInsertion)
{
    fila* q = FILAinit(2);
    for (int v : {1, 2, 3, 4}) {
        FILAinsertV(q, v);
    }
    EXPECT_EQ(q->fim, 4);
    EXPECT_EQ(FILAfull(q), 1);
    // Removing one value frees slot 0; the next insertion folds the tail back to it.
    EXPECT_EQ(FILAremoveV(q), 1);
    FILAinsertV(q, 5);
    EXPECT_EQ(q->fim, 1);
    EXPECT_EQ(q->itens[0], 5);
    FILAdestroy(q);
}

TEST(Fila, HeadFoldsBackRightAfterTheLastSlot)
{
    fila* q = FILAinit(1);
    FILAinsertV(q, 8);
    FILAremoveV(q);
    FILAinsertV(q, 9);
    EXPECT_EQ(FILAremoveV(q), 9);
    EXPECT_EQ(q->ini, 0);
    FILAdestroy(q);
}

TEST(Pilha, PopsInReverseOrder)
{
    pilha* s = PILHAinit(3);
    EXPECT_EQ(s->topo, -1);
    PILHAinsertV(s, 7);
    PILHAinsertV(s, 8);
    EXPECT_EQ(PILHAremoveV(s), 8);
    EXPECT_EQ(PILHAremoveV(s), 7);
    EXPECT_EQ(s->topo, -1);
    PILHAdestroy(s);
}

TEST(Containers, ImpossibleSizesGiveNoContainer)
{
    EXPECT_EQ(FILAinit(-1), nullptr);
    EXPECT_EQ(FILAinit(INT_MAX), nullptr); // 2n does not fit the slot count
    EXPECT_EQ(PILHAinit(-1), nullptr);
}

TEST(InicializaMatriz, SetsOnlyTheGivenRowsAndAtMostThreeColumns)
{
    int m[3][3] = {{0, 0, 0}, {0, 0, 0}, {5, 5, 5}};
    inicializa_matriz(m, 2, 3);
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 3; ++j) {
            EXPECT_EQ(m[i][j], -1);
        }
    }
    EXPECT_EQ(m[2][0], 5);

    int n[2][3] = {{0, 0, 0}, {5, 5, 5}};
    inicializa_matriz(n, 1, 2);
    EXPECT_EQ(n[0][1], -1);
    EXPECT_EQ(n[0][2], 0);
    inicializa_matriz(n, 1, 10); // never past the third column into the next row
    EXPECT_EQ(n[0][2], -1);
    EXPECT_EQ(n[1][0], 5);
}

} // namespace
