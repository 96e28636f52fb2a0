#pragma once

// Sizes of the record's storage, shared by the matrix and the record allocation, and the
// upkeep of the per-parent child lists.

#include "pedigree/checked_size.h"
#include "pedigree/ed_with_cla.h"

#include <optional>

namespace pedigree::detail {

// Bytes of a MATRIXinit block of rows x columns, or nullopt when negative or too large.
OptionalSize matrix_bytes(int rows, int columns);

// The arc v -> w joins or leaves v's child list; called only when it joins or leaves the
// matrix.
void add_child(digraph& G, int v, int w);
void remove_child(digraph& G, int v, int w);
// Whether w is in v's child list, or nullopt when v's list was given up.
std::optional<bool> has_listed_child(const digraph& G, int v, int w);
// Releases every child list and the array of lists (nullptr is allowed).
void destroy_child_lists(digraph& G);

} // namespace pedigree::detail
