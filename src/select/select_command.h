#pragma once

#include <ostream>

#include "common/result.h"
#include "select/select_options.h"

namespace kinship::select {

// Reads the pedigree file (and the names table), chooses the people the selections name,
// writes the output files and puts the summary and the next command on `out`. The
// reader's notes on the pedigree file go to standard error.
//
// An id no individual has, a clan or sub-clan no one belongs to, and two people with no
// common ancestor for --path fail with status 1 before anything is written.
Status run_select(const SelectOptions& options, std::ostream& out);

} // namespace kinship::select
