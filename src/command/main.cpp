// hierarchical-layout PEDIGREE_FILE
//
// Reads a clan pedigree, writes it as the styled GML file "gml-PEDIGREE_FILE", reads that
// file back into OGDF, lays it out in layers with parents above their children, and writes
// the drawing file "whl-gml-PEDIGREE_FILE" with node positions and edge routes.

#include "export/kinship_gml_writer.h"
#include "gml/drawing_gml_writer.h"
#include "gml/kinship_attributes.h"
#include "gml/kinship_gml_reader.h"
#include "layout/kinship_layout.h"
#include "pedigree/ed_with_cla.h"

#include <ogdf/basic/Graph.h>
#include <ogdf/layered/SugiyamaLayout.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Both output names are built by prefixing the argument; the longer one, "whl-gml-" plus
// the argument, must fit the 150-byte names that stored scripts expect.
constexpr std::size_t max_argument_length = 141;

void report_failure(const std::string& message)
{
    std::fflush(stdout);
    std::fputs(message.c_str(), stderr);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || std::strlen(argv[1]) > max_argument_length) {
        report_failure("usage: hierarchical-layout PEDIGREE_FILE (a path of at most " +
                       std::to_string(max_argument_length) + " characters)\n");
        return 2;
    }
    const std::string pedigree_path = argv[1];
    const std::string first_gml = "gml-" + pedigree_path;
    const std::string drawing_gml = "whl-" + first_gml;

    std::printf("Creating the first gml format file: %s.\n", first_gml.c_str());
    // Both calls end the run themselves on bad input or an unwritable file.
    Digraph pedigree = DIGRAPHcreate_with_cla(pedigree_path.c_str());
    parse_and_file(pedigree, first_gml.c_str());
    DIGRAPHdestroy(pedigree);
    std::printf("The first gml format file (%s) has been created.\n", first_gml.c_str());

    ogdf::Graph graph;
    kinship::gml::KinshipAttributes attributes(graph);
    if (const auto error = kinship::gml::read_kinship_gml(first_gml, graph, attributes)) {
        report_failure("Could not load " + first_gml + " extension gml\n" + "  " +
                       error->describe() + "\n");
        return 1;
    }

    std::printf("Creating the second gml format file (for drawing): %s\n", drawing_gml.c_str());
    ogdf::SugiyamaLayout layout;
    kinship::configure_kinship_layout(layout);
    kinship::run_kinship_layout(layout, attributes);

    if (const auto error = kinship::gml::write_drawing_gml(attributes, drawing_gml)) {
        report_failure("Could not write the drawing file: " + *error + "\n");
        return 1;
    }
    std::printf("The second gml format file (%s) has been created.\n\n", drawing_gml.c_str());
    std::printf("Use ONLY the second gml format file (%s) to draw the corresponding kinship "
                "network.\n\n",
                drawing_gml.c_str());
    std::printf("FINISHED\n");
    return 0;
}
