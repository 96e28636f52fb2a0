#include "family_layout/unit_graph.h"

namespace kinship::family {
namespace {

// Whether each node lies on no cycle's way in one direction: Kahn's removal of nodes
// without incoming (or, `backward`, outgoing) lines reaches exactly those.
std::vector<char> removable(const UnitGraph& graph, bool backward)
{
    const auto n = static_cast<std::size_t>(graph.nodes);
    std::vector<int> degree(n, 0);
    std::vector<std::size_t> start(n + 1, 0);
    for (const UnitEdge& e : graph.edges) {
        ++degree[static_cast<std::size_t>(backward ? e.source : e.target)];
        ++start[static_cast<std::size_t>(backward ? e.target : e.source) + 1];
    }
    for (std::size_t v = 0; v < n; ++v) {
        start[v + 1] += start[v];
    }
    std::vector<int> next_nodes(graph.edges.size());
    std::vector<std::size_t> fill(start.begin(), start.end() - 1);
    for (const UnitEdge& e : graph.edges) {
        const auto from = static_cast<std::size_t>(backward ? e.target : e.source);
        next_nodes[fill[from]++] = backward ? e.source : e.target;
    }
    std::vector<char> removed(n, 0);
    std::vector<int> queue;
    for (std::size_t v = 0; v < n; ++v) {
        if (degree[v] == 0) {
            queue.push_back(static_cast<int>(v));
        }
    }
    while (!queue.empty()) {
        const auto v = static_cast<std::size_t>(queue.back());
        queue.pop_back();
        removed[v] = 1;
        for (std::size_t k = start[v]; k < start[v + 1]; ++k) {
            if (--degree[static_cast<std::size_t>(next_nodes[k])] == 0) {
                queue.push_back(next_nodes[k]);
            }
        }
    }
    return removed;
}

} // namespace

UnitGraph unit_graph(const Families& families, const Units& units)
{
    UnitGraph graph;
    const int unit_count = static_cast<int>(units.members.size());
    graph.nodes = unit_count + static_cast<int>(families.couples.size());
    const auto unit = [&](int person) { return units.unit_of[static_cast<std::size_t>(person)]; };
    for (std::size_t c = 0; c < families.couples.size(); ++c) {
        const Family& family = families.couples[c];
        const int couple = unit_count + static_cast<int>(c);
        graph.edges.push_back({unit(family.father), couple});
        if (unit(family.mother) != unit(family.father)) {
            graph.edges.push_back({unit(family.mother), couple});
        }
        for (const int child : family.children) {
            graph.edges.push_back({couple, unit(child)});
        }
    }
    for (const ParentLink& link : families.single_links) {
        graph.edges.push_back({unit(link.parent), unit(link.child)});
    }
    return graph;
}

void break_cycles(const Families& families, Units& units)
{
    for (;;) {
        const UnitGraph graph = unit_graph(families, units);
        const std::vector<char> from_sources = removable(graph, false);
        const std::vector<char> from_sinks = removable(graph, true);
        bool split = false;
        // Couples' nodes come after the units and are never split.
        const std::size_t unit_count = units.members.size(); // splitting appends units
        for (std::size_t u = 0; u < unit_count; ++u) {
            if (!from_sources[u] && !from_sinks[u] && units.members[u].size() > 1) {
                split_unit(units, static_cast<int>(u));
                split = true;
            }
        }
        if (!split) {
            return;
        }
    }
}

} // namespace kinship::family
