#include "family_layout/unit_order.h"

#include <ogdf/basic/Graph.h>
#include <ogdf/layered/DfsAcyclicSubgraph.h>
#include <ogdf/layered/OptimalRanking.h>

#include <algorithm>
#include <limits>

namespace kinship::family {
namespace {

// Network simplex finds the ranks with the shortest lines but takes time that grows faster
// than the graph (14 s at 50,000 people); above this many nodes the balanced ranks below
// take over.
constexpr int network_simplex_limit = 20000;

// A line from a single parent's row straight to the child's spans two ranks, as a
// couple's lines do through the couple's node: parents and children stay in the layers
// of the other families.
int span(const UnitEdge& e, int unit_count)
{
    return e.source < unit_count && e.target < unit_count ? 2 : 1;
}

std::vector<int> network_simplex_ranks(const UnitGraph& graph, int unit_count)
{
    ogdf::Graph g;
    std::vector<ogdf::node> nodes;
    for (int v = 0; v < graph.nodes; ++v) {
        nodes.push_back(g.newNode());
    }
    ogdf::EdgeArray<int> length(g, 1);
    for (const UnitEdge& e : graph.edges) {
        length[g.newEdge(nodes[static_cast<std::size_t>(e.source)],
                         nodes[static_cast<std::size_t>(e.target)])] = span(e, unit_count);
    }
    ogdf::OptimalRanking ranking;
    ranking.setSubgraph(new ogdf::DfsAcyclicSubgraph);
    ranking.separateMultiEdges(false);
    ogdf::NodeArray<int> rank(g, 0);
    ranking.call(g, length, rank);
    std::vector<int> ranks;
    for (const ogdf::node v : nodes) {
        ranks.push_back(rank[v]);
    }
    return ranks;
}

// Ranks in linear time: each node as high as its lines in allow (longest path from the
// top), then, walking up from the bottom, a node with more lines out than in moves down
// as far as its lines out allow, and walking down, one with more lines in than out moves
// up as far as its lines in allow: each move shortens more lines than it lengthens.
std::vector<int> balanced_ranks(const UnitGraph& graph, int unit_count)
{
    const auto n = static_cast<std::size_t>(graph.nodes);
    std::vector<std::vector<std::pair<int, int>>> in(n), out(n); // other end, span
    for (const UnitEdge& e : graph.edges) {
        out[static_cast<std::size_t>(e.source)].emplace_back(e.target, span(e, unit_count));
        in[static_cast<std::size_t>(e.target)].emplace_back(e.source, span(e, unit_count));
    }
    std::vector<int> order; // topological
    std::vector<std::size_t> waiting(n);
    for (std::size_t v = 0; v < n; ++v) {
        waiting[v] = in[v].size();
        if (waiting[v] == 0) {
            order.push_back(static_cast<int>(v));
        }
    }
    for (std::size_t k = 0; k < order.size(); ++k) {
        for (const auto& [w, length] : out[static_cast<std::size_t>(order[k])]) {
            if (--waiting[static_cast<std::size_t>(w)] == 0) {
                order.push_back(w);
            }
        }
    }
    std::vector<int> rank(n, 0);
    const auto highest = [&](std::size_t v) {
        int r = 0;
        for (const auto& [u, length] : in[v]) {
            r = std::max(r, rank[static_cast<std::size_t>(u)] + length);
        }
        return r;
    };
    for (const int v : order) {
        rank[static_cast<std::size_t>(v)] = highest(static_cast<std::size_t>(v));
    }
    for (int pass = 0; pass < 4; ++pass) {
        for (auto it = order.rbegin(); it != order.rend(); ++it) {
            const auto v = static_cast<std::size_t>(*it);
            if (out[v].size() > in[v].size()) {
                int r = std::numeric_limits<int>::max();
                for (const auto& [w, length] : out[v]) {
                    r = std::min(r, rank[static_cast<std::size_t>(w)] - length);
                }
                rank[v] = r;
            }
        }
        for (const int v : order) {
            const auto u = static_cast<std::size_t>(v);
            if (in[u].size() > out[u].size()) {
                rank[u] = highest(u);
            }
        }
    }
    return rank;
}

} // namespace

std::vector<int> walk_order(const UnitGraph& graph, bool backwards)
{
    const auto n = static_cast<std::size_t>(graph.nodes);
    // Lines either way round, each node's in the order unit_graph made them.
    std::vector<std::size_t> start(n + 1, 0);
    for (const UnitEdge& e : graph.edges) {
        ++start[static_cast<std::size_t>(e.source) + 1];
        ++start[static_cast<std::size_t>(e.target) + 1];
    }
    for (std::size_t v = 0; v < n; ++v) {
        start[v + 1] += start[v];
    }
    std::vector<int> next(2 * graph.edges.size());
    std::vector<std::size_t> fill(start.begin(), start.end() - 1);
    for (const UnitEdge& e : graph.edges) {
        next[fill[static_cast<std::size_t>(e.source)]++] = e.target;
        next[fill[static_cast<std::size_t>(e.target)]++] = e.source;
    }
    std::vector<int> seen_at(n, -1);
    int seen = 0;
    std::vector<std::pair<std::size_t, std::size_t>> stack; // node, next line to follow
    for (std::size_t r = 0; r < n; ++r) {
        const std::size_t root = backwards ? n - 1 - r : r;
        if (seen_at[root] >= 0) {
            continue;
        }
        seen_at[root] = seen++;
        stack.emplace_back(root, start[root]);
        while (!stack.empty()) {
            auto& [v, k] = stack.back();
            if (k == start[v + 1]) {
                stack.pop_back();
                continue;
            }
            const auto w = static_cast<std::size_t>(
                next[backwards ? start[v] + start[v + 1] - 1 - k++ : k++]);
            if (seen_at[w] < 0) {
                seen_at[w] = seen++;
                stack.emplace_back(w, start[w]);
            }
        }
    }
    return seen_at;
}

UnitRanks rank_units(const UnitGraph& graph, int unit_count)
{
    UnitRanks ranks;
    ranks.rank = graph.nodes <= network_simplex_limit ? network_simplex_ranks(graph, unit_count)
                                                      : balanced_ranks(graph, unit_count);
    ranks.first_seen = walk_order(graph, false);
    return ranks;
}

} // namespace kinship::family
