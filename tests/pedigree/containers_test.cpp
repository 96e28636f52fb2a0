#include "pedigree/ed_with_cla.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(Fila, FirstInFirstOutWithTheTailFoldingBackOnlyAtTheNextInsertion)
{
    EXPECT_EQ(FILAinit(-1), nullptr);
    EXPECT_EQ(FILAinit(INT_MAX), nullptr); // 2n does not fit the slot count
    fila* q = FILAinit(2);
    EXPECT_EQ(q->N, 4);
    EXPECT_EQ(FILAempty(q), 1);
    for (int v : {1, 2, 3, 4}) {
        FILAinsertV(q, v);
    }
    EXPECT_EQ(q->fim, 4);
    EXPECT_EQ(FILAfull(q), 1);
    EXPECT_EQ(FILAremoveV(q), 1);
    FILAinsertV(q, 5); // the tail folds back to the freed slot 0
    EXPECT_EQ(q->fim, 1);
    EXPECT_EQ(q->itens[0], 5);
    for (int v : {2, 3, 4}) {
        EXPECT_EQ(FILAremoveV(q), v);
    }
    EXPECT_EQ(q->ini, 0); // the head folds back right after the last slot
    EXPECT_EQ(FILAremoveV(q), 5);
    FILAdestroy(q);
}

TEST(Pilha, PopsInReverseOrder)
{
    EXPECT_EQ(PILHAinit(-1), nullptr);
    pilha* s = PILHAinit(3);
    PILHAinsertV(s, 7);
    PILHAinsertV(s, 8);
    EXPECT_EQ(PILHAremoveV(s), 8);
    EXPECT_EQ(PILHAremoveV(s), 7);
    EXPECT_EQ(s->topo, -1);
    PILHAdestroy(s);
}

TEST(InicializaMatriz, SetsTheGivenRowsAndNeverPastTheThirdColumn)
{
    int m[3][3] = {{0, 0, 0}, {0, 0, 0}, {5, 5, 5}};
    inicializa_matriz(m, 1, 2);
    EXPECT_EQ(m[0][1], -1);
    EXPECT_EQ(m[0][2], 0);
    inicializa_matriz(m, 2, 10);
    EXPECT_EQ(m[1][2], -1);
    EXPECT_EQ(m[2][0], 5);
}

} // namespace
