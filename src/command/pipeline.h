#pragma once

// The stages of the command, one function each, so that the benchmark and the tests run
// exactly what the command runs. Each stage reports its own failure on standard error.

#include "gml/kinship_attributes.h"

#include <ogdf/basic/Graph.h>

#include <string>

namespace kinship {

// Longest accepted pedigree path: "whl-gml-" plus the path must fit the 150-byte file
// names that existing scripts expect.
inline constexpr std::size_t max_pedigree_path_length = 141;

struct OutputNames {
    std::string first_gml;   // "gml-" + the pedigree path
    std::string drawing_gml; // "whl-" + first_gml
};
OutputNames output_names(const std::string& pedigree_path);

// Reads the pedigree and writes it as the styled GML file; ends the run on bad input or an
// unwritable file (see the pedigree readers).
void write_first_gml(const std::string& pedigree_path, const std::string& first_gml);

// Reads the styled GML file back into `graph` and `attributes`. On failure prints
// "Could not load <file> extension gml" and the reason on standard error, returns false.
bool load_first_gml(const std::string& first_gml, ogdf::Graph& graph,
                    gml::KinshipAttributes& attributes);

// Lays the network out in layers, parents above children.
void lay_out(gml::KinshipAttributes& attributes);

// Writes the drawing file. On failure prints the reason on standard error, returns false.
bool write_drawing(const gml::KinshipAttributes& attributes, const std::string& drawing_gml);

} // namespace kinship
