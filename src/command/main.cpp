// hierarchical-layout PEDIGREE_FILE   (or --help)
//
// Reads a clan pedigree, writes it as the styled GML file "gml-PEDIGREE_FILE", reads that
// file back into OGDF, lays it out in layers with parents above their children, and writes
// the drawing file "whl-gml-PEDIGREE_FILE" with node positions and edge routes.

#include "command/pipeline.h"

#include <cstdio>
#include <cstring>
#include <functional>

namespace {

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

    // The progress lines around the stages.
    const auto progress = [&](kinship::Stage stage, const std::function<kinship::Status()>& run) {
        if (stage == kinship::Stage::read) {
            std::printf("Creating the first gml format file: %s.\n", names.first_gml.c_str());
        } else if (stage == kinship::Stage::layout) {
            std::printf("Creating the second gml format file (for drawing): %s\n",
                        names.drawing_gml.c_str());
        }
        kinship::Status status = run();
        if (status && stage == kinship::Stage::first_gml) {
            std::printf("The first gml format file (%s) has been created.\n",
                        names.first_gml.c_str());
        }
        return status;
    };
    if (const kinship::Status finished = kinship::run_stages(pedigree_path, progress); !finished) {
        kinship::print_failure(finished.failure());
        return finished.failure().status;
    }
    std::printf("The second gml format file (%s) has been created.\n\n", names.drawing_gml.c_str());
    std::printf("Use ONLY the second gml format file (%s) to draw the corresponding kinship "
                "network.\n\n",
                names.drawing_gml.c_str());
    std::printf("FINISHED\n");
    return 0;
}
