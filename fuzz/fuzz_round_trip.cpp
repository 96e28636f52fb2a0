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

namespace {

struct Expected {
    std::string label;
    std::string templ;
    const char* fill;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    using namespace kinship::fuzz;
    const auto result = pedigree::read_clan_pedigree(as_text(data, size), file_name);
    check_result(result, true);
    if (!result) {
        return 0;
    }
    const digraph& G = *result.value();

    // What each distinct id should read back as; a later record with the same id wins.
    std::vector<int> order;
    std::unordered_map<int, Expected> expected;
    for (int v = 0; v < G.V; ++v) {
        if (!expected.contains(G.id[v])) {
            order.push_back(G.id[v]);
        }
        expected[G.id[v]] =
            Expected{std::to_string(G.id[v]),
                     std::string(G.cla[v]) + " " + G.subcla[v] + " " + std::to_string(G.nasc[v]) +
                         " " + std::to_string(G.morte[v]),
                     G.sexo[v] == 'm' ? "#ADD8E6" : "#FFE4E1"};
    }

    const std::string text = kinship::format_kinship_gml(G);
    ogdf::Graph graph;
    kinship::gml::KinshipAttributes attributes(graph);
    const auto error = kinship::gml::read_kinship_gml_text(text, graph, attributes);
    if (error) {
        std::fprintf(stderr, "%s\n", error->describe().c_str());
        broken("the styled GML file of an accepted pedigree does not read back");
    }
    check(graph.numberOfNodes() == static_cast<int>(order.size()), "node count");
    check(graph.numberOfEdges() == G.A, "edge count");
    std::size_t i = 0;
    for (ogdf::node v : graph.nodes) {
        const Expected& e = expected.at(order[i++]);
        check(attributes.label(v) == e.label, "label");
        check(attributes.templateNode(v) == e.templ, "template");
        check(attributes.node_fill_text(v) == e.fill, "fill colour");
    }
    return 0;
}
