#include "stats/relation.h"

#include <algorithm>
#include <cstdint>
#include <ranges>
#include <vector>

namespace kinship::stats {
namespace {

// A way up from a spouse: the people passed, the spouse first and the ancestor last.
using Path = std::vector<int>;

std::vector<Path> paths_up(const Pedigree& pedigree, int from, int degree)
{
    std::vector<Path> paths{{from}};
    for (std::size_t k = 0; k < paths.size(); ++k) {
        if (static_cast<int>(paths[k].size()) > degree) {
            continue;
        }
        const int last = paths[k].back();
        for (const int parent : {pedigree.father(last), pedigree.mother(last)}) {
            if (parent != Pedigree::none) {
                Path longer = paths[k];
                longer.push_back(parent);
                paths.push_back(std::move(longer));
            }
        }
    }
    return paths;
}

bool full_siblings(const Pedigree& pedigree, int a, int b)
{
    return pedigree.father(a) != Pedigree::none && pedigree.mother(a) != Pedigree::none &&
           pedigree.father(a) == pedigree.father(b) && pedigree.mother(a) == pedigree.mother(b);
}

// The letters of a husband's way up and a wife's way up that meet at one ancestor.
std::string kin_types(const Pedigree& pedigree, const Path& up, const Path& down)
{
    const auto male = [&](int i) { return pedigree.person(i).male(); };
    std::string letters;
    const std::size_t u = up.size() - 1;
    const std::size_t v = down.size() - 1;
    // Where the paths reach the ancestor through two full siblings, the turn is taken at
    // them; whichever parent the paths went through, the letters are the same.
    const bool turn = u > 0 && v > 0 && full_siblings(pedigree, up[u - 1], down[v - 1]);
    const std::size_t top_up = turn ? u - 1 : u;
    for (std::size_t k = 1; k <= top_up; ++k) {
        letters += male(up[k]) ? 'F' : 'M';
    }
    if (turn) {
        letters += male(down[v - 1]) ? 'B' : 'Z';
    }
    for (std::size_t k = turn ? v - 1 : v; k-- > 0;) {
        letters += male(down[k]) ? 'S' : 'D';
    }
    return letters;
}

} // namespace

Relation relation_of(const Pedigree& pedigree, int husband, int wife, int degree)
{
    const std::vector<Path> ups = paths_up(pedigree, husband, degree);
    std::vector<Path> downs = paths_up(pedigree, wife, degree);
    // The wife's ways up by the ancestor they reach, so that each of the husband's finds
    // its matches without trying them all.
    const auto by_ancestor = [](const Path& a, const Path& b) { return a.back() < b.back(); };
    std::ranges::sort(downs, by_ancestor);
    std::size_t closest = SIZE_MAX;
    std::vector<std::pair<std::string, std::pair<int, int>>> found;
    for (const Path& up : ups) {
        const auto [first, last] = std::equal_range(downs.begin(), downs.end(), up, by_ancestor);
        for (const Path& down : std::ranges::subrange(first, last)) {
            if (up.size() + down.size() > closest) {
                continue;
            }
            if (up.size() + down.size() < closest) {
                closest = up.size() + down.size();
                found.clear();
            }
            found.push_back({kin_types(pedigree, up, down),
                             {static_cast<int>(up.size()) - 1, static_cast<int>(down.size()) - 1}});
        }
    }
    Relation relation;
    if (found.empty()) {
        return relation;
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end(),
                            [](const auto& a, const auto& b) { return a.first == b.first; }),
                found.end());
    for (const auto& entry : found) {
        relation.kin_types += (relation.kin_types.empty() ? "" : ",") + entry.first;
    }
    relation.up_husband = found.front().second.first;
    relation.up_wife = found.front().second.second;
    return relation;
}

} // namespace kinship::stats
