// libFuzzer harness for the command's path up to the layout: a clan pedigree text is read,
// written as the styled GML file and read back. Whatever the reader accepts, the styled
// file must read back to the same network: one node per distinct id, in order of first
// appearance, carrying the later record's label, template and colours, and one edge per
// arc of the record.

#include "fuzz_checks.h"

#include "export/kinship_gml_writer.h"
#include "gml/kinship_gml_reader.h"

#include <unordered_map>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    using namespace kinship::fuzz;
    const auto result = pedigree::read_clan_pedigree(as_text(data, size), file_name);
    check_result(result, true);
    if (!result) {
        return 0;
    }
    const digraph& G = *result.value();

    // "label|template|fill" for each distinct id; a later record with the same id wins.
    std::vector<int> order;
    std::unordered_map<int, std::string> expected;
    for (int v = 0; v < G.V; ++v) {
        if (!expected.contains(G.id[v])) {
            order.push_back(G.id[v]);
        }
        expected[G.id[v]] = std::to_string(G.id[v]) + "|" + G.cla[v] + " " + G.subcla[v] + " " +
                            std::to_string(G.nasc[v]) + " " + std::to_string(G.morte[v]) + "|" +
                            (G.sexo[v] == 'm' ? "#ADD8E6" : "#FFE4E1");
    }

    ogdf::Graph graph;
    kinship::gml::KinshipAttributes attributes(graph);
    const kinship::Status read =
        kinship::gml::read_kinship_gml_text(kinship::format_kinship_gml(G), "round-trip.gml", graph, attributes);
    check(read.ok(), kinship::message_of(read).c_str()); // the styled file reads back
    check(graph.numberOfNodes() == static_cast<int>(order.size()), "node count");
    check(graph.numberOfEdges() == G.A, "edge count");
    std::size_t i = 0;
    for (ogdf::node v : graph.nodes) {
        check(attributes.label(v) + "|" + attributes.templateNode(v) + "|" +
                      attributes.node_fill_text(v) ==
                  expected.at(order[i++]),
              "label, template or fill colour");
    }
    return 0;
}
