#pragma once

// Checks the harnesses make on every result besides "no crash": a reader either returns a
// complete, consistent record or a failure with a message, never both and never neither.
// A broken check aborts, which libFuzzer reports as a crash with the input that caused it.

#include "pedigree/pedigree_readers.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace kinship::fuzz {

// The file name the harnesses give the readers; messages on standard error start with it
// and a colon (then a line number or a blank).
inline constexpr std::string_view file_name = "fuzz.txt";

inline void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

inline std::string_view as_text(const unsigned char* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

// The record's own invariants: A counts the arcs, no self-arcs, 0/1 entries only, each
// child list holds its matrix row's arcs in index order, and every name is terminated
// within its buffer. With `names`, the reader filled the clan columns.
inline void check_record(const digraph& G, bool names)
{
    check(G.V >= 0, "negative V");
    int arcs = 0;
    for (int v = 0; v < G.V; ++v) {
        check(G.adj[v][v] == 0, "self-arc");
        const lista_filhos& children = G.filhos[v];
        int listed = 0;
        for (int w = 0; w < G.V; ++w) {
            check(G.adj[v][w] == 0 || G.adj[v][w] == 1, "matrix entry other than 0 or 1");
            arcs += G.adj[v][w];
            if (G.adj[v][w] == 1 && children.n >= 0) {
                check(listed < children.n && children.itens[listed] == w,
                      "child list differs from the matrix row");
                ++listed;
            }
        }
        check(children.n < 0 || listed == children.n, "child list longer than the matrix row");
        if (names) {
            check(::strnlen(G.cla[v], CLA_BUFFER_SIZE) < CLA_BUFFER_SIZE, "clan not terminated");
            check(::strnlen(G.subcla[v], CLA_BUFFER_SIZE) < CLA_BUFFER_SIZE,
                  "sub-clan not terminated");
        }
    }
    check(arcs == G.A, "A differs from the number of arcs");
}

inline void check_result(const pedigree::Result<pedigree::DigraphPtr>& result, bool names)
{
    if (result) {
        check(result.value() != nullptr, "a record that is not there");
        check_record(*result.value(), names);
        return;
    }
    const pedigree::Failure& f = result.failure();
    check(!f.message.empty(), "empty message");
    check(f.message.find('\n') == std::string::npos, "message spans lines");
    check(f.status != 0, "failure with status 0");
    if (!f.on_stdout) {
        check(f.message.starts_with(std::string(file_name) + ":"),
              "standard-error message does not start with the file name");
    }
}

} // namespace kinship::fuzz
