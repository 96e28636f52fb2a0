// hierarchical-layout PEDIGREE_FILE   (or --help)
//
// Reads a clan pedigree, writes it as the styled GML file "gml-PEDIGREE_FILE", reads that
// file back into OGDF, lays it out in layers with parents above their children, and writes
// the drawing file "whl-gml-PEDIGREE_FILE" with node positions and edge routes.

#include "command/pipeline.h"

#include <cstdio>
#include <cstring>

namespace {

// Prints the failure of a stage and gives the status to end the run with.
int failed(const kinship::Failure& failure)
{
    kinship::print_failure(failure);
    return failure.status;
}

void print_usage(std::FILE* stream)
{
    std::fprintf(stream,
                 "usage: hierarchical-layout PEDIGREE_FILE (a path of at most %zu characters)\n",
                 kinship::max_pedigree_path_length);
}

bool asks_for_help(const char* argument)
{
    return std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && asks_for_help(argv[1])) {
        print_usage(stdout);
        std::printf("Reads a clan pedigree and writes it as gml-PEDIGREE_FILE and, laid out in "
                    "generations, as the drawing file whl-gml-PEDIGREE_FILE.\n");
        return 0;
    }
    // One argument only: a second one is most likely an output name that would be ignored.
    if (argc != 2 || std::strlen(argv[1]) > kinship::max_pedigree_path_length) {
        print_usage(stderr);
        return 2;
    }
    const std::string pedigree_path = argv[1];
    const kinship::OutputNames names = kinship::output_names(pedigree_path);

    std::printf("Creating the first gml format file: %s.\n", names.first_gml.c_str());
    {
        pedigree::Notes notes;
        const auto pedigree = kinship::read_pedigree(pedigree_path, &notes);
        pedigree::print_notes(notes);
        if (!pedigree) {
            return failed(pedigree.failure());
        }
        if (const auto written = kinship::write_first_gml(*pedigree.value(), names.first_gml);
            !written) {
            return failed(written.failure());
        }
    } // the record is released here; the rest works on the file
    std::printf("The first gml format file (%s) has been created.\n", names.first_gml.c_str());

    ogdf::Graph graph;
    kinship::gml::KinshipAttributes attributes(graph);
    if (const auto loaded = kinship::load_first_gml(names.first_gml, graph, attributes);
        !loaded) {
        return failed(loaded.failure());
    }

    std::printf("Creating the second gml format file (for drawing): %s\n",
                names.drawing_gml.c_str());
    if (const auto drawn = kinship::lay_out(attributes); !drawn) {
        return failed(drawn.failure());
    }
    if (const auto written = kinship::write_drawing(attributes, names.drawing_gml); !written) {
        return failed(written.failure());
    }
    std::printf("The second gml format file (%s) has been created.\n\n", names.drawing_gml.c_str());
    std::printf("Use ONLY the second gml format file (%s) to draw the corresponding kinship "
                "network.\n\n",
                names.drawing_gml.c_str());
    std::printf("FINISHED\n");
    return 0;
}
