#include "pedigree/ed_with_cla.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(Containers, QueueIsFirstInFirstOutAcrossTheFoldStackLastInFirstOut)
{
    EXPECT_EQ(FILAinit(-1), nullptr);
    EXPECT_EQ(FILAinit(INT_MAX), nullptr); // 2n slots do not fit an int
    EXPECT_EQ(PILHAinit(-1), nullptr);
    fila* q = FILAinit(2);
    pilha* s = PILHAinit(2);
    EXPECT_EQ(FILAempty(q), 1);
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
}

TEST(Containers, InicializaMatrizSetsTheGivenRowsAndNeverPastTheThirdColumn)
{
    int m[3][3] = {{0, 0, 0}, {0, 0, 0}, {5, 5, 5}};
    inicializa_matriz(m, 1, 2);
    EXPECT_EQ(m[0][1] + m[0][2], -1);
    inicializa_matriz(m, 2, 10);
    EXPECT_EQ(m[1][2], -1);
    EXPECT_EQ(m[2][0], 5);
}

} // namespace
