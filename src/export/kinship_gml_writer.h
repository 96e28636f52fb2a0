#pragma once

// The styled GML file of a pedigree: one node per individual, styled by sex, labelled with
// the individual id and carrying clan, sub-clan, birth and death as its template; one plain
// black line per parent-child arc. The file is what the drawing stage reads back.

#include "pedigree/ed_with_cla.h"

#include <string>

namespace kinship {

// The whole text of the styled GML file for G.
std::string format_kinship_gml(const digraph& G);

} // namespace kinship

// Writes G as the styled GML file at `path`, replacing any file there only once the whole
// text has been written. When the file cannot be written the run stops with a message on
// standard error and status 1, and an existing file at `path` is left as it was.
void parse_and_file(Digraph G, const char* path);
