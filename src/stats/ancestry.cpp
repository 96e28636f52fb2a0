#include "stats/ancestry.h"

#include <algorithm>
#include <thread>
#include <unordered_map>

namespace kinship::stats {
namespace {

// One person as the walk needs them, numbered by their place in the parents-first order,
// so that the walk stays within a small part of memory.
struct Node {
    int father = -1; // places in the order; -1 when not recorded
    int mother = -1;
    int generation = 0;
    double inbreeding = 0;
    double variance = 1; // D: 1 for a founder, less for each recorded parent
};

// The children of one father and mother, or of one recorded parent: they share F and
// their ancestors, so the walk is made once for them all.
struct Family {
    int father = -1;
    int mother = -1;
    int generation = 0;
    double inbreeding = 0;
    std::int64_t ancestors = 0;
};

double variance_of(const std::vector<Node>& nodes, int father, int mother)
{
    const auto f = [&](int p) { return nodes[static_cast<std::size_t>(p)].inbreeding; };
    if (father >= 0 && mother >= 0) {
        return 0.5 - 0.25 * (f(father) + f(mother));
    }
    const int parent = std::max(father, mother);
    return parent >= 0 ? 0.75 - 0.25 * f(parent) : 1.0;
}

// What one worker keeps between families: each ancestor's share of the father's genes
// and of the mother's (L of the father and of the mother), and the ancestors met but not
// yet taken, by generation. Both are empty between families.
class Walker {
public:
    Walker(std::size_t people, int generations)
        : shares_(people), waiting_(static_cast<std::size_t>(generations))
    {
    }

    void measure(const std::vector<Node>& nodes, Family& family)
    {
        meet(nodes, family.father, {1, 0});
        meet(nodes, family.mother, {0, 1});
        double sum = 0;
        std::int64_t met = 0;
        for (int g = family.generation - 1; g >= 0; --g) {
            // Taking a node adds only to earlier generations, so this list stays put.
            auto& level = waiting_[static_cast<std::size_t>(g)];
            for (const int j : level) {
                const Node& node = nodes[static_cast<std::size_t>(j)];
                Shares& shares = shares_[static_cast<std::size_t>(j)];
                sum += shares.of_father * shares.of_mother * node.variance;
                const Shares half{0.5 * shares.of_father, 0.5 * shares.of_mother};
                meet(nodes, node.father, half);
                meet(nodes, node.mother, half);
                shares = {};
            }
            met += static_cast<std::int64_t>(level.size());
            level.clear();
        }
        family.ancestors = met;
        // Only ancestors of both parents add to the sum, so unrelated parents give exactly 0.
        family.inbreeding = 0.5 * sum;
    }

private:
    struct Shares {
        double of_father = 0;
        double of_mother = 0;
    };

    void meet(const std::vector<Node>& nodes, int j, Shares added)
    {
        if (j < 0) {
            return;
        }
        Shares& shares = shares_[static_cast<std::size_t>(j)];
        if (shares.of_father == 0 && shares.of_mother == 0) {
            waiting_[static_cast<std::size_t>(nodes[static_cast<std::size_t>(j)].generation)]
                .push_back(j);
        }
        shares.of_father += added.of_father;
        shares.of_mother += added.of_mother;
    }

    std::vector<Shares> shares_;
    std::vector<std::vector<int>> waiting_;
};

} // namespace

Ancestry measure_ancestry(const Pedigree& pedigree, std::span<const int> order, int threads)
{
    const auto n = static_cast<std::size_t>(pedigree.size());
    std::vector<int> place(n);
    for (std::size_t k = 0; k < n; ++k) {
        place[static_cast<std::size_t>(order[k])] = static_cast<int>(k);
    }
    const auto place_of = [&](int i) { return i < 0 ? -1 : place[static_cast<std::size_t>(i)]; };

    // Nodes in order; each person's family, the families by generation.
    std::vector<Node> nodes(n);
    std::vector<int> family_of(n, -1);
    std::vector<Family> families;
    std::unordered_map<std::uint64_t, int> family_index;
    int generations = 1;
    for (std::size_t k = 0; k < n; ++k) {
        const int i = order[k];
        Node& node = nodes[k];
        node.father = place_of(pedigree.father(i));
        node.mother = place_of(pedigree.mother(i));
        for (const int parent : {node.father, node.mother}) {
            if (parent >= 0) {
                node.generation = std::max(node.generation,
                                           nodes[static_cast<std::size_t>(parent)].generation + 1);
            }
        }
        generations = std::max(generations, node.generation + 1);
        if (node.father < 0 && node.mother < 0) {
            continue;
        }
        const std::uint64_t key =
            (std::uint64_t{static_cast<std::uint32_t>(node.father)} << 32) |
            static_cast<std::uint32_t>(node.mother);
        const auto [at, added] = family_index.emplace(key, static_cast<int>(families.size()));
        if (added) {
            families.push_back({node.father, node.mother, node.generation, 0, 0});
        }
        family_of[k] = at->second;
    }
    // Each couple's family: that of their children, or one of its own for a childless one.
    std::vector<int> family_of_couple;
    for (const Couple& couple : pedigree.couples()) {
        const int father = place_of(couple.husband);
        const int mother = place_of(couple.wife);
        const auto key = [](int a, int b) {
            return (std::uint64_t{static_cast<std::uint32_t>(a)} << 32) |
                   static_cast<std::uint32_t>(b);
        };
        auto at = family_index.find(key(father, mother));
        if (at == family_index.end()) {
            at = family_index.find(key(mother, father));
        }
        if (at == family_index.end()) {
            const int generation = 1 + std::max(nodes[static_cast<std::size_t>(father)].generation,
                                                nodes[static_cast<std::size_t>(mother)].generation);
            generations = std::max(generations, generation + 1);
            at = family_index.emplace(key(father, mother), static_cast<int>(families.size())).first;
            families.push_back({father, mother, generation, 0, 0});
        }
        family_of_couple.push_back(at->second);
    }
    family_index = {};
    std::vector<std::vector<int>> families_by_generation(static_cast<std::size_t>(generations));
    for (std::size_t f = 0; f < families.size(); ++f) {
        families_by_generation[static_cast<std::size_t>(families[f].generation)].push_back(
            static_cast<int>(f));
    }
    std::vector<std::vector<int>> nodes_by_generation(static_cast<std::size_t>(generations));
    for (std::size_t k = 0; k < n; ++k) {
        nodes_by_generation[static_cast<std::size_t>(nodes[k].generation)].push_back(
            static_cast<int>(k));
    }

    // A generation's families need only earlier generations' F, so its families are
    // shared among the workers; each family's value is the same whoever works it out.
    const auto workers = static_cast<std::size_t>(std::max(1, threads));
    std::vector<Walker> walkers;
    for (std::size_t w = 0; w < workers; ++w) {
        walkers.emplace_back(n, generations);
    }
    for (std::size_t g = 1; g < static_cast<std::size_t>(generations); ++g) {
        const std::vector<int>& level = families_by_generation[g];
        // Worker w takes the families w, w + stride, w + 2 stride, ...
        const auto work = [&](std::size_t w, std::size_t stride) {
            for (std::size_t f = w; f < level.size(); f += stride) {
                walkers[w].measure(nodes, families[static_cast<std::size_t>(level[f])]);
            }
        };
        if (workers == 1 || level.size() < 32) { // too few to be worth a thread
            work(0, 1);
        } else {
            std::vector<std::jthread> helpers;
            for (std::size_t w = 1; w < workers; ++w) {
                helpers.emplace_back(work, w, workers);
            }
            work(0, workers);
        } // the helpers have finished here
        for (const int k : nodes_by_generation[g]) {
            Node& node = nodes[static_cast<std::size_t>(k)];
            const auto family = static_cast<std::size_t>(family_of[static_cast<std::size_t>(k)]);
            node.inbreeding = families[family].inbreeding;
            node.variance = variance_of(nodes, node.father, node.mother);
        }
    }

    Ancestry ancestry;
    for (const int family : family_of_couple) {
        ancestry.couple_kinship.push_back(families[static_cast<std::size_t>(family)].inbreeding);
    }
    ancestry.generation.resize(n);
    ancestry.ancestors.resize(n, 0);
    ancestry.inbreeding.resize(n, 0.0);
    for (std::size_t k = 0; k < n; ++k) {
        const auto i = static_cast<std::size_t>(order[k]);
        ancestry.generation[i] = nodes[k].generation;
        ancestry.inbreeding[i] = nodes[k].inbreeding;
        if (family_of[k] >= 0) {
            ancestry.ancestors[i] = families[static_cast<std::size_t>(family_of[k])].ancestors;
        }
    }
    return ancestry;
}

} // namespace kinship::stats
