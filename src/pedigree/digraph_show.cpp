// DIGRAPHshow: each individual's id followed by the ids of its children, in file order.

#include "pedigree/ed_with_cla.h"

#include <cstdio>

void DIGRAPHshow(Digraph G)
{
    std::printf("DIGRAFO:\n");
    for (int v = 0; v < G->V; ++v) {
        std::printf("%5d:", G->id[v]);
        for (int w = 0; w < G->V; ++w) {
            if (G->adj[v][w] == 1) {
                std::printf("%5d", G->id[w]);
            }
        }
        std::printf("\n");
    }
}
