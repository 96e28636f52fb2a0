#pragma once

// The stages of the command, one function each, so that the benchmark and the tests run
// exactly what the command runs. A stage returns its failure as a value; the command's
// main prints it and ends the run.

#include "common/result.h"
#include "gml/kinship_attributes.h"
#include "pedigree/pedigree_readers.h"

#include <ogdf/basic/Graph.h>

#include <functional>
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

// Reads the clan pedigree file (see the pedigree readers for the failures and where
// their messages go, and for the notes added to `notes`).
Result<pedigree::DigraphPtr> read_pedigree(const std::string& pedigree_path,
                                           pedigree::Notes* notes = nullptr);

// Writes the pedigree as the styled GML file; fails when the file cannot be written.
Status write_first_gml(const digraph& pedigree, const std::string& first_gml);

// Reads the styled GML file back into `graph` and `attributes`. The failure reads
// "Could not load <file> extension gml" and, on the next line, the reason.
Status load_first_gml(const std::string& first_gml, ogdf::Graph& graph,
                      gml::KinshipAttributes& attributes);

// Lays the network out in layers, parents above children. Nothing in it can fail; it
// returns a Status like every other stage.
Status lay_out(gml::KinshipAttributes& attributes);

// Writes the drawing file; fails when it cannot be written.
Status write_drawing(const gml::KinshipAttributes& attributes, const std::string& drawing_gml);

// The stages in the order they run.
enum class Stage { read, first_gml, reload, layout, drawing };

// Runs one stage: it calls `run` and returns its status. The command prints its progress
// lines around the stages; the benchmark times them.
using StageHook = std::function<Status(Stage stage, const std::function<Status()>& run)>;

// Runs every stage on the pedigree file, each through `hook`, stopping at the first
// failure. The reader's notes are printed once the pedigree is read; the record is
// released once the first GML file is written, and the rest works on that file.
Status run_stages(const std::string& pedigree_path, const StageHook& hook);

} // namespace kinship
