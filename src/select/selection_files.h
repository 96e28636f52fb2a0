#pragma once

// The files kinship-select writes: the chosen part of the pedigree, of its names table and
// of its marriages table.

#include "common/atomic_file.h"
#include "model/marriages.h"
#include "model/names_rows.h"
#include "model/pedigree.h"
#include "select/selections.h"

namespace kinship::select {

// The header line of the marriages table and its rows whose two partners are both chosen,
// as written, in the table's order; the number of rows written.
int write_marriages(const MarriagesTable& marriages, const Chosen& chosen, AtomicFile& out);

// The chosen individuals as a clan pedigree file: their count, then one record per line in
// the input's order, each as it was read except that a father or mother who is not chosen
// is written as 0.
void write_pedigree(const Pedigree& pedigree, const Chosen& chosen, AtomicFile& out);

// The header line of the names table and the rows of the chosen individuals, in the
// table's order; the number of rows written.
int write_names(const NamesRows& names, const Pedigree& pedigree, const Chosen& chosen,
                AtomicFile& out);

} // namespace kinship::select
