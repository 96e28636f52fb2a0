// layout-alone FIRST_GML_FILE
//
// The layout library on its own: reads a first GML file of the command with the library's
// GML reader, into attributes that hold only node and edge graphics, lays it out as the
// command does and prints the layout's wall time in seconds. The benchmark compares the
// command's whole time with it, to see what our own process adds around the library.

#include "layout/kinship_layout.h"

#include <ogdf/basic/GraphAttributes.h>
#include <ogdf/fileformats/GraphIO.h>

#include <chrono>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: layout-alone FIRST_GML_FILE\n");
        return 2;
    }
    ogdf::Graph graph;
    ogdf::GraphAttributes attributes(graph, ogdf::GraphAttributes::nodeGraphics |
                                                ogdf::GraphAttributes::edgeGraphics);
    if (!ogdf::GraphIO::read(attributes, graph, argv[1], ogdf::GraphIO::readGML)) {
        std::fprintf(stderr, "layout-alone: cannot read %s\n", argv[1]);
        return 1;
    }
    ogdf::SugiyamaLayout layout;
    kinship::configure_kinship_layout(layout);
    const auto start = std::chrono::steady_clock::now();
    kinship::run_kinship_layout(layout, attributes);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    std::printf("%.4f\n", elapsed.count());
    return 0;
}
