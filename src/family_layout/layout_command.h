#pragma once

#include <ostream>

#include "common/result.h"
#include "family_layout/layout_options.h"

namespace kinship::family {

// Reads the pedigree (its notes go to standard error), lays it out as families, writes the
// drawing file in one step and prints to `out` what it holds and the command to draw it.
// With a names table, each person is as wide as their name needs (see
// text::name_slot_width). Fails, writing nothing, on a pedigree the reader refuses or in
// which someone is their own ancestor, on a names table its reader refuses, and when the
// drawing file cannot be written.
Status run_layout(const LayoutOptions& options, std::ostream& out);

} // namespace kinship::family
