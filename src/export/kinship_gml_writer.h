#pragma once

// The styled GML file of a pedigree: one node per individual, styled by sex, labelled with
// the individual id and carrying clan, sub-clan, birth and death as its template; one plain
// black line per parent-child arc. The file is what the drawing stage reads back.

#include "common/result.h"
#include "pedigree/ed_with_cla.h"

#include <string>

namespace kinship {

// The whole text of the styled GML file for G. Takes time proportional to the individuals
// and the arcs: the edges come from the record's per-parent child lists, not from the
// matrix.
std::string format_kinship_gml(const digraph& G);

// Writes G as the styled GML file at `path`, replacing any file there only once the whole
// text has been written; an existing file is left as it was when the write fails. The
// failure reads "Cannot write the GML file: " and the reason.
Status write_kinship_gml(const digraph& G, const std::string& path);

} // namespace kinship

// write_kinship_gml that ends the run with its message on standard error and status 1
// when the file cannot be written.
void parse_and_file(Digraph G, const char* path);
