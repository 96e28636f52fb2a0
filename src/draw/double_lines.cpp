#include "draw/double_lines.h"

#include <string>

namespace kinship::draw {

std::vector<bool> double_lines(const gml::KinshipAttributes& attributes,
                               const CoupleKinship& couples)
{
    const ogdf::Graph& graph = attributes.constGraph();
    ogdf::EdgeArray<bool> twice(graph, false);
    for (const ogdf::node v : graph.nodes) {
        if (!attributes.is_family(v)) {
            continue;
        }
        std::vector<ogdf::edge> into;
        for (const ogdf::adjEntry adj : v->adjEntries) {
            const ogdf::edge e = adj->theEdge();
            if (e->target() == v && e->source() != v && !attributes.is_family(e->source())) {
                into.push_back(e);
            }
        }
        if (into.size() == 2 &&
            couples.contains(couple_key(attributes.label(into[0]->source()),
                                        attributes.label(into[1]->source())))) {
            twice[into[0]] = twice[into[1]] = true;
        }
    }
    std::vector<bool> flags;
    flags.reserve(static_cast<std::size_t>(graph.numberOfEdges()));
    for (const ogdf::edge e : graph.edges) {
        flags.push_back(twice[e]);
    }
    return flags;
}

} // namespace kinship::draw
