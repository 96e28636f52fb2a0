#include "family_layout/unit_graph.h"

#include <algorithm>
#include <array>

namespace kinship::family {
namespace {

struct Adjacency {
    std::vector<std::size_t> start; // per node, into `next`
    std::vector<int> next;
};

Adjacency adjacency(const UnitGraph& graph, bool backward)
{
    Adjacency a;
    a.start.assign(static_cast<std::size_t>(graph.nodes) + 1, 0);
    for (const UnitEdge& e : graph.edges) {
        ++a.start[static_cast<std::size_t>(backward ? e.target : e.source) + 1];
    }
    for (std::size_t v = 0; v + 1 < a.start.size(); ++v) {
        a.start[v + 1] += a.start[v];
    }
    a.next.resize(graph.edges.size());
    std::vector<std::size_t> fill(a.start.begin(), a.start.end() - 1);
    for (const UnitEdge& e : graph.edges) {
        const auto from = static_cast<std::size_t>(backward ? e.target : e.source);
        a.next[fill[from]++] = backward ? e.source : e.target;
    }
    return a;
}

// Whether each node lies on no cycle's way in one direction: Kahn's removal of nodes
// without incoming (or, `backward`, outgoing) lines reaches exactly those.
std::vector<char> removable(const UnitGraph& graph, bool backward)
{
    const auto n = static_cast<std::size_t>(graph.nodes);
    std::vector<int> degree(n, 0);
    for (const UnitEdge& e : graph.edges) {
        ++degree[static_cast<std::size_t>(backward ? e.source : e.target)];
    }
    const Adjacency next = adjacency(graph, backward);
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
        for (std::size_t k = next.start[v]; k < next.start[v + 1]; ++k) {
            if (--degree[static_cast<std::size_t>(next.next[k])] == 0) {
                queue.push_back(next.next[k]);
            }
        }
    }
    return removed;
}

// The lines the unit graph's lines stand for, between people and couples: node p is
// person p, node people + c couple c.
std::vector<UnitEdge> person_lines(const Families& families)
{
    const int people = static_cast<int>(families.partners.size());
    std::vector<UnitEdge> lines;
    for (std::size_t c = 0; c < families.couples.size(); ++c) {
        const Family& family = families.couples[c];
        const int couple = people + static_cast<int>(c);
        lines.push_back({family.father, couple});
        lines.push_back({family.mother, couple});
        for (const int child : family.children) {
            lines.push_back({couple, child});
        }
    }
    for (const ParentLink& link : families.single_links) {
        lines.push_back({link.parent, link.child});
    }
    return lines;
}

// The nodes reached from `from` by one line or more.
std::vector<char> reached(const Adjacency& a, int from)
{
    std::vector<char> seen(a.start.size() - 1, 0);
    std::vector<int> stack{from};
    while (!stack.empty()) {
        const auto v = static_cast<std::size_t>(stack.back());
        stack.pop_back();
        for (std::size_t k = a.start[v]; k < a.start[v + 1]; ++k) {
            if (!seen[static_cast<std::size_t>(a.next[k])]) {
                seen[static_cast<std::size_t>(a.next[k])] = 1;
                stack.push_back(a.next[k]);
            }
        }
    }
    return seen;
}

// Rows up to this long are cut the best of all ways (127 of them); longer ones in halves.
constexpr std::size_t longest_row_searched = 8;

// Where to cut row `u`, which lies on a cycle (places before which a part begins, in
// order), so that none of its parts lies on one, cutting as few partners apart as can be:
// first leaving nobody with several partners without one beside them, then cutting fewest
// couples, then making fewest parts. Empty when no cut of this row alone takes all its
// parts off the cycles (they run through other rows too). `below`: the nodes reached from
// the row.
std::vector<std::size_t> best_cuts(const Families& families, const Units& units,
                                   const std::vector<UnitEdge>& lines, int u,
                                   const std::vector<char>& below, const Adjacency& up)
{
    if (units.members[static_cast<std::size_t>(u)].size() > longest_row_searched) {
        return {};
    }
    const std::vector<char> above = reached(up, u);
    // The nodes of the cycles through the row, numbered from 1; the row's parts follow.
    const auto unit_count = static_cast<int>(units.members.size());
    const auto people = static_cast<int>(families.partners.size());
    std::vector<int> local(below.size(), 0);
    int count = 0;
    for (std::size_t v = 0; v < below.size(); ++v) {
        if (below[v] && above[v] && static_cast<int>(v) != u) {
            local[v] = ++count;
        }
    }
    const std::vector<int>& row = units.members[static_cast<std::size_t>(u)];
    // The lines among them: (node, or -1 - place in the row) at each end.
    std::vector<std::pair<int, int>> among;
    const auto node_of = [&](int v) {
        const int node = v < people ? units.unit_of[static_cast<std::size_t>(v)] : unit_count + v - people;
        return node != u ? local[static_cast<std::size_t>(node)]
                         : -1 - static_cast<int>(std::ranges::find(row, v) - row.begin());
    };
    for (const UnitEdge& line : lines) {
        const int source = node_of(line.source);
        const int target = node_of(line.target);
        if (source != 0 && target != 0) {
            among.emplace_back(source, target);
        }
    }
    const auto partners = [&](int a, int b) { return are_partners(families, a, b); };
    const std::size_t masks = std::size_t{1} << (row.size() - 1);
    std::vector<std::size_t> part(row.size());
    std::array<long, 5> best{};
    bool found = false;
    for (std::size_t mask = 1; mask < masks; ++mask) {
        // Bit k cuts between the row's members k and k + 1.
        std::array<long, 5> score{0, 0, 0, 0, static_cast<long>(mask)};
        for (std::size_t k = 1; k < row.size(); ++k) {
            const bool cut = (mask >> (k - 1)) & 1;
            part[k] = part[k - 1] + (cut ? 1 : 0);
            if (cut) {
                score[2] += partners(row[k - 1], row[k]) ? 1 : 0;
                ++score[3];
            }
        }
        for (std::size_t k = 0; k < row.size(); ++k) {
            const int p = row[k];
            const bool left = k > 0 && part[k - 1] == part[k] && partners(row[k - 1], p);
            const bool right = k + 1 < row.size() && part[k + 1] == part[k] && partners(p, row[k + 1]);
            score[1] += families.partners[static_cast<std::size_t>(p)].size() > 1 && !left && !right;
        }
        UnitGraph graph;
        graph.nodes = count + 1 + static_cast<int>(part.back()) + 1;
        const auto local_node = [&](int node) {
            return node > 0 ? node : count + 1 + static_cast<int>(part[static_cast<std::size_t>(-1 - node)]);
        };
        for (const auto& [source, target] : among) {
            graph.edges.push_back({local_node(source), local_node(target)});
        }
        const std::vector<char> from_sources = removable(graph, false);
        const std::vector<char> from_sinks = removable(graph, true);
        for (int node = count + 1; node < graph.nodes; ++node) {
            score[0] += !from_sources[static_cast<std::size_t>(node)] &&
                        !from_sinks[static_cast<std::size_t>(node)];
        }
        if (!found || score < best) {
            best = score;
            found = true;
        }
    }
    std::vector<std::size_t> at;
    if (found && best[0] == 0) {
        for (std::size_t k = 1; k < row.size(); ++k) {
            if ((static_cast<std::size_t>(best[4]) >> (k - 1)) & 1) {
                at.push_back(k);
            }
        }
    }
    return at;
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
    const std::vector<UnitEdge> lines = person_lines(families);
    for (;;) {
        const UnitGraph graph = unit_graph(families, units);
        const std::vector<char> from_sources = removable(graph, false);
        const std::vector<char> from_sinks = removable(graph, true);
        // Couples' nodes come after the units and are never cut.
        std::vector<int> cyclic;
        for (std::size_t u = 0; u < units.members.size(); ++u) {
            if (!from_sources[u] && !from_sinks[u] && units.members[u].size() > 1) {
                cyclic.push_back(static_cast<int>(u));
            }
        }
        if (cyclic.empty()) {
            return;
        }
        const Adjacency down = adjacency(graph, false);
        const Adjacency up = adjacency(graph, true);
        bool cut = false;
        int last_resort = -1;
        for (const int u : cyclic) {
            const std::vector<char> below = reached(down, u);
            if (!below[static_cast<std::size_t>(u)]) {
                continue; // between cycles, on none
            }
            last_resort = last_resort < 0 ? u : last_resort;
            const std::vector<std::size_t> at = best_cuts(families, units, lines, u, below, up);
            int rest = u; // the parts in the row's order
            for (std::size_t k = 0; k < at.size(); ++k) {
                split_unit(units, rest, at[k] - (k > 0 ? at[k - 1] : 0));
                rest = static_cast<int>(units.members.size()) - 1;
            }
            if (!at.empty()) {
                cut = true;
                break;
            }
        }
        if (!cut) { // no row's cycles are all its own: halve one, as a last resort
            split_unit(units, last_resort, units.members[static_cast<std::size_t>(last_resort)].size() / 2);
        }
    }
}

} // namespace kinship::family
