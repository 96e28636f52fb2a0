// The digraph record: allocation, release, arcs and id lookup.

#include "pedigree/ed_with_cla.h"
#include "pedigree/pedigree_readers.h"
#include "pedigree/read_failure.h"
#include "pedigree/storage.h"

#include <cstdio>
#include <cstdlib>

namespace {

using pedigree::detail::OptionalSize;

// One name array: V pointers followed by V buffers of CLA_BUFFER_SIZE bytes.
OptionalSize name_array_bytes(std::size_t v)
{
    using pedigree::detail::checked_add;
    using pedigree::detail::checked_mul;
    return checked_add(checked_mul(v, sizeof(char*)), checked_mul(v, CLA_BUFFER_SIZE));
}

// calloc that refuses sizes the allocator cannot serve and never returns nullptr for 0.
void* zeroed(OptionalSize bytes)
{
    if (!pedigree::detail::allocatable(bytes)) {
        return nullptr;
    }
    return std::calloc(1, *bytes == 0 ? 1 : *bytes);
}

// V pointers, each to its own empty CLA_BUFFER_SIZE-byte buffer inside the same block.
char** name_array(int V)
{
    const auto v = static_cast<std::size_t>(V);
    auto** names = static_cast<char**>(zeroed(name_array_bytes(v)));
    if (names == nullptr) {
        return nullptr;
    }
    char* buffers = reinterpret_cast<char*>(names + v);
    for (std::size_t i = 0; i < v; ++i) {
        names[i] = buffers + i * CLA_BUFFER_SIZE;
    }
    return names;
}

} // namespace

namespace pedigree {

std::optional<std::size_t> digraph_storage_bytes(int V)
{
    using detail::checked_add;
    using detail::checked_mul;
    if (V < 0) {
        return std::nullopt;
    }
    const auto v = static_cast<std::size_t>(V);
    OptionalSize bytes = sizeof(digraph);
    bytes = checked_add(bytes, checked_mul(v, 3 * sizeof(int))); // id, nasc, morte
    bytes = checked_add(bytes, v);                               // sexo
    bytes = checked_add(bytes, checked_mul(name_array_bytes(v), 2));
    bytes = checked_add(bytes, checked_mul(v, sizeof(lista_filhos))); // empty child lists
    return checked_add(bytes, detail::matrix_bytes(V, V));
}

DigraphPtr try_digraph_init(int V)
{
    if (V < 0 || !detail::allocatable(digraph_storage_bytes(V))) {
        return nullptr;
    }
    DigraphPtr G{static_cast<digraph*>(std::calloc(1, sizeof(digraph)))};
    if (!G) {
        return nullptr;
    }
    const auto v = static_cast<std::size_t>(V);
    G->V = V;
    G->A = 0;
    // The matrix first: it is by far the largest part, so a count too large to hold fails
    // here before the smaller arrays have been set up.
    G->adj = MATRIXinit(V, V, 0);
    if (!G->adj) {
        return nullptr;
    }
    G->id = static_cast<int*>(zeroed(detail::checked_mul(v, sizeof(int))));
    G->sexo = static_cast<char*>(zeroed(v));
    G->cla = name_array(V);
    G->subcla = name_array(V);
    G->nasc = static_cast<int*>(zeroed(detail::checked_mul(v, sizeof(int))));
    G->morte = static_cast<int*>(zeroed(detail::checked_mul(v, sizeof(int))));
    G->filhos = static_cast<lista_filhos*>(zeroed(detail::checked_mul(v, sizeof(lista_filhos))));
    if (!G->id || !G->sexo || !G->cla || !G->subcla || !G->nasc || !G->morte || !G->filhos) {
        return nullptr; // the deleter releases whatever was obtained
    }
    return G;
}

} // namespace pedigree

Arc ARC(int v, int w)
{
    return Arc{v, w};
}

Digraph DIGRAPHinit(int V)
{
    pedigree::DigraphPtr G = pedigree::try_digraph_init(V);
    if (!G) {
        const std::string problem = V < 0 ? pedigree::detail::negative_count_problem(V)
                                          : pedigree::detail::allocation_problem(V);
        std::fflush(stdout);
        std::fprintf(stderr, "DIGRAPHinit: %s\n", problem.c_str());
        std::exit(1);
    }
    return G.release();
}

void DIGRAPHinsertA(Digraph G, int v, int w)
{
    if (v == w) {
        return;
    }
    // The child list answers without reading the matrix entry: a read before the write
    // would fault in a page of the mostly untouched matrix twice.
    const std::optional<bool> listed = pedigree::detail::has_listed_child(*G, v, w);
    if (listed ? !*listed : G->adj[v][w] == 0) {
        G->adj[v][w] = 1;
        G->A++;
        pedigree::detail::add_child(*G, v, w);
    }
}

void DIGRAPHremoveA(Digraph G, int v, int w)
{
    if (G->adj[v][w] == 1) {
        G->adj[v][w] = 0;
        G->A--;
        pedigree::detail::remove_child(*G, v, w);
    }
}

int find_id(Digraph G, int id)
{
    for (int i = 0; i < G->V; ++i) {
        if (G->id[i] == id) {
            return i;
        }
    }
    return -1;
}

void DIGRAPHdestroy(Digraph G)
{
    if (G == nullptr) {
        return;
    }
    MATRIXdestroy(G->adj);
    std::free(G->id);
    std::free(G->sexo);
    std::free(G->cla);
    std::free(G->subcla);
    std::free(G->nasc);
    std::free(G->morte);
    pedigree::detail::destroy_child_lists(*G);
    std::free(G);
}
