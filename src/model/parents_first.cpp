#include "model/parents_first.h"

#include "pedigree/read_failure.h"

#include <algorithm>

namespace kinship {

namespace {

// The ids on a cycle among the individuals not yet placed: each of them has a parent who
// is not placed either, so going up from any of them must come back round.
std::vector<int> cycle_ids(const Pedigree& pedigree, const std::vector<int>& missing_parents)
{
    const auto unplaced = [&](int i) {
        return i != Pedigree::none && missing_parents[static_cast<std::size_t>(i)] > 0;
    };
    int start = 0;
    while (!unplaced(start)) {
        ++start;
    }
    std::vector<int> seen_at(static_cast<std::size_t>(pedigree.size()), -1);
    std::vector<int> walk;
    int at = start;
    while (seen_at[static_cast<std::size_t>(at)] < 0) {
        seen_at[static_cast<std::size_t>(at)] = static_cast<int>(walk.size());
        walk.push_back(at);
        at = unplaced(pedigree.father(at)) ? pedigree.father(at) : pedigree.mother(at);
    }
    // The walk went up from child to parent; the cycle is its part from `at` on.
    std::vector<int> ids;
    for (auto k = static_cast<std::size_t>(seen_at[static_cast<std::size_t>(at)]);
         k < walk.size(); ++k) {
        ids.push_back(pedigree.person(walk[k]).id);
    }
    ids.push_back(pedigree.person(at).id);
    return ids;
}

} // namespace

Result<std::vector<int>> parents_first(const Pedigree& pedigree, std::string_view file)
{
    const auto n = static_cast<std::size_t>(pedigree.size());
    std::vector<int> missing_parents(n, 0);
    std::vector<int> order;
    order.reserve(n);
    for (int i = 0; i < pedigree.size(); ++i) {
        missing_parents[static_cast<std::size_t>(i)] =
            (pedigree.father(i) != Pedigree::none) + (pedigree.mother(i) != Pedigree::none);
        if (missing_parents[static_cast<std::size_t>(i)] == 0) {
            order.push_back(i);
        }
    }
    for (std::size_t next = 0; next < order.size(); ++next) {
        for (const int child : pedigree.children(order[next])) {
            if (--missing_parents[static_cast<std::size_t>(child)] == 0) {
                order.push_back(child);
            }
        }
    }
    if (order.size() < n) {
        const std::vector<int> ids = cycle_ids(pedigree, missing_parents);
        return pedigree::detail::cycle_failure(file, ids);
    }
    return order;
}

} // namespace kinship
