#pragma once

// The pedigree unit: the digraph record of a pedigree, the readers that fill it from the
// supported file layouts, and small integer containers for graph walks.
//
// These are plain records with one verb per function, kept as the interface that other
// front ends call. Underneath, every buffer is sized from the record and every input item
// is checked before it is stored.

#include <cstddef>

// The children of one parent as node indices in ascending order: the arcs of one matrix
// row, kept by DIGRAPHinsertA and DIGRAPHremoveA so that a writer visits only the arcs
// instead of all V x V entries.
struct lista_filhos {
    int* itens; // nullptr until the first child
    int n;      // number of children; -1 when the list could not grow, and then the matrix
                // row is the only record of this parent's arcs
    int cap;    // slots of itens
};

// One node per individual, indexed 0..V-1 in file order; adj[v][w] == 1 when v is a parent
// of w. The record owns every array and name buffer. Arcs are changed only through
// DIGRAPHinsertA and DIGRAPHremoveA, which keep adj, A and filhos in step.
struct digraph {
    int V;         // number of individuals
    int A;         // number of arcs in adj
    int* id;       // individual id per index
    char* sexo;    // sex character per index; 'm' is male, anything else female
    char** cla;    // clan name per index, a buffer of CLA_BUFFER_SIZE bytes
    char** subcla; // sub-clan name per index, a buffer of CLA_BUFFER_SIZE bytes
    int* nasc;     // birth value per index
    int* morte;    // death value per index
    int** adj;     // V rows of V entries
    lista_filhos* filhos; // per index, the indices w with adj[v][w] == 1, ascending
};
using Digraph = digraph*;

// A clan or sub-clan name holds at most 9 characters plus the terminator.
inline constexpr std::size_t CLA_BUFFER_SIZE = 10;

// A pair of node indices: tail v, head w.
struct Arc {
    int v;
    int w;
};
Arc ARC(int v, int w);

// Allocates a record for V individuals with an all-zero matrix. Contents of the per-index
// arrays are zero until a reader fills them. Each cla[i] and subcla[i] points to its own
// CLA_BUFFER_SIZE-byte buffer; the buffers of one array share a single allocation. Ends the
// process with a message on standard error and status 1 when V is negative or the storage
// cannot be obtained.
Digraph DIGRAPHinit(int V);
// rows x columns entries, all set to value. The row pointers and the rows live in one
// block (zeroed by the allocator when value is 0, so rows that stay 0 cost no resident
// memory). Returns nullptr when rows or columns is negative, the size overflows or the
// memory cannot be obtained. Release with MATRIXdestroy (or a single free()).
int** MATRIXinit(int rows, int columns, int value);
void MATRIXdestroy(int** matrix);
void DIGRAPHinsertA(Digraph G, int v, int w); // no self-arcs, no repeated arcs
void DIGRAPHremoveA(Digraph G, int v, int w);
// Lowest index whose id equals `id`, or -1.
int find_id(Digraph G, int id);
void DIGRAPHshow(Digraph G);
void DIGRAPHdestroy(Digraph G);

// Readers. Each returns a complete record owned by the caller, or ends the process with
// status 1 (see docs/messages.md, "When the input is wrong"). An id that matches no individual
// ("... ERRO na montagem do Grafo.") and the adjacency file's "Erro na leitura ..." lines
// are printed on standard output, the first followed on standard error by the line naming
// the id; every other diagnostic goes to standard error and names the file, the line, the
// failed check and the record. Text after the last record is not read, and a line on
// standard error says so. The clan and four-column readers go over the text
// twice and take only a regular file: a pipe is refused. pedigree_readers.h offers the same readers without the exit.
Digraph DIGRAPHcreate_with_cla(const char* path);               // clan pedigree
Digraph DIGRAPHcreate(const char* path);                        // four-column pedigree
Digraph DIGRAPHcreate_with_cla_multi_parents(const char* path); // individuals plus links
Digraph DIGRAPHcosangcreate();                                  // "grafo_adjacencia.in"

// Ring-buffer queue of integers with 2n slots. The tail folds back to slot 0 only at the
// start of the next insertion, the head right after the removal that reaches N, so the
// queue is a plain FIFO only for at most N-1 insertions over its whole life (one per node
// of a walk over at most n nodes). Staying within that, not inserting into a full queue and
// not removing from an empty one are the caller's obligations; nothing is checked.
// FILAinit returns nullptr when n is negative or the buffer cannot be obtained.
struct fila {
    int* itens;
    int ini; // slot of the next value to remove
    int fim; // slot of the next value to insert; may equal N until the next insertion
    int N;
};
fila* FILAinit(int n);
int FILAempty(fila* q);
int FILAfull(fila* q);
void FILAinsertV(fila* q, int value);
int FILAremoveV(fila* q);
void FILAdestroy(fila* q);

// Array stack of integers with 2n slots. Bounds are the caller's obligation: at most 2n
// values at once, no removal from an empty stack. PILHAinit returns nullptr when n is
// negative or the buffer cannot be obtained.
struct pilha {
    int* itens;
    int topo; // index of the top value, -1 when empty
};
pilha* PILHAinit(int n);
void PILHAinsertV(pilha* s, int value);
int PILHAremoveV(pilha* s);
void PILHAdestroy(pilha* s);

// Sets the first `rows` rows and first `columns` columns (at most 3) of a three-column
// matrix to -1.
void inicializa_matriz(int (*matriz)[3], int rows, int columns);
