// The per-parent child lists of the digraph record (see lista_filhos in ed_with_cla.h).
//
// Readers add the children of a parent mostly in index order, so an insertion is usually
// an append; a full list doubles, up to V slots. When it cannot grow, the list is given up
// for that parent (n = -1) and the matrix row stays the record of its arcs, so a failed
// allocation costs speed, never an arc.

#include "pedigree/storage.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace pedigree::detail {

namespace {

bool grow(lista_filhos& list, int V)
{
    const int capacity = std::min(V, list.cap < 2 ? 4 : list.cap * 2);
    const auto bytes = checked_mul(static_cast<std::size_t>(capacity), sizeof(int));
    void* items = allocatable(bytes) ? std::realloc(list.itens, *bytes) : nullptr;
    if (items == nullptr) {
        return false;
    }
    list.itens = static_cast<int*>(items);
    list.cap = capacity;
    return true;
}

void give_up(lista_filhos& list)
{
    std::free(list.itens);
    list = lista_filhos{nullptr, -1, 0};
}

} // namespace

void add_child(digraph& G, int v, int w)
{
    lista_filhos& list = G.filhos[v];
    if (list.n < 0) {
        return;
    }
    if (list.n == list.cap && !grow(list, G.V)) {
        give_up(list);
        return;
    }
    int k = list.n;
    while (k > 0 && list.itens[k - 1] > w) {
        list.itens[k] = list.itens[k - 1];
        --k;
    }
    list.itens[k] = w;
    ++list.n;
}

std::optional<bool> has_listed_child(const digraph& G, int v, int w)
{
    const lista_filhos& list = G.filhos[v];
    if (list.n < 0) {
        return std::nullopt;
    }
    return std::binary_search(list.itens, list.itens + list.n, w);
}

void remove_child(digraph& G, int v, int w)
{
    lista_filhos& list = G.filhos[v];
    if (list.n <= 0) {
        return;
    }
    int* const end = list.itens + list.n;
    int* const at = std::lower_bound(list.itens, end, w);
    if (at != end && *at == w) {
        std::memmove(at, at + 1, static_cast<std::size_t>(end - at - 1) * sizeof(int));
        --list.n;
    }
}

void destroy_child_lists(digraph& G)
{
    if (G.filhos == nullptr) {
        return;
    }
    for (int v = 0; v < G.V; ++v) {
        std::free(G.filhos[v].itens);
    }
    std::free(G.filhos);
}

} // namespace pedigree::detail
