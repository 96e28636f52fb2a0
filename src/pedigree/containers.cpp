// Work containers for graph walks: the ring-buffer queue, the array stack and the
// three-column matrix initialiser. Bounds are the caller's obligation (see the header).

#include "pedigree/ed_with_cla.h"
#include "pedigree/checked_size.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

// A buffer of 2n integers, or nullptr when n is negative, 2n does not fit an int (the
// containers keep it in one) or the memory is not there.
int* twice_n_integers(int n)
{
    if (n < 0 || n > std::numeric_limits<int>::max() / 2) {
        return nullptr;
    }
    using pedigree::detail::checked_mul;
    const auto bytes = checked_mul(checked_mul(static_cast<std::size_t>(n), 2), sizeof(int));
    if (!pedigree::detail::allocatable(bytes)) {
        return nullptr;
    }
    return static_cast<int*>(std::calloc(1, *bytes == 0 ? 1 : *bytes));
}

} // namespace

fila* FILAinit(int n)
{
    int* itens = twice_n_integers(n);
    if (itens == nullptr) {
        return nullptr;
    }
    auto* q = static_cast<fila*>(std::malloc(sizeof(fila)));
    if (q == nullptr) {
        std::free(itens);
        return nullptr;
    }
    *q = fila{itens, 0, 0, 2 * n};
    return q;
}

int FILAempty(fila* q)
{
    return q->ini == q->fim ? 1 : 0;
}

int FILAfull(fila* q)
{
    if (q->fim == q->N) {
        return q->ini == 0 ? 1 : 0;
    }
    return q->fim + 1 == q->ini ? 1 : 0;
}

void FILAinsertV(fila* q, int value)
{
    if (q->fim >= q->N) {
        q->fim = 0;
    }
    q->itens[q->fim] = value;
    q->fim++;
}

int FILAremoveV(fila* q)
{
    const int value = q->itens[q->ini];
    q->ini++;
    if (q->ini >= q->N) {
        q->ini = 0;
    }
    return value;
}

void FILAdestroy(fila* q)
{
    if (q != nullptr) {
        std::free(q->itens);
        std::free(q);
    }
}

pilha* PILHAinit(int n)
{
    int* itens = twice_n_integers(n);
    if (itens == nullptr) {
        return nullptr;
    }
    auto* s = static_cast<pilha*>(std::malloc(sizeof(pilha)));
    if (s == nullptr) {
        std::free(itens);
        return nullptr;
    }
    *s = pilha{itens, -1};
    return s;
}

void PILHAinsertV(pilha* s, int value)
{
    s->topo++;
    s->itens[s->topo] = value;
}

int PILHAremoveV(pilha* s)
{
    const int value = s->itens[s->topo];
    s->topo--;
    return value;
}

void PILHAdestroy(pilha* s)
{
    if (s != nullptr) {
        std::free(s->itens);
        std::free(s);
    }
}

void inicializa_matriz(int (*matriz)[3], int rows, int columns)
{
    const int used = std::min(columns, 3);
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < used; ++j) {
            matriz[i][j] = -1;
        }
    }
}
