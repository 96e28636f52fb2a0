#include "family_layout/couple_units.h"

#include <algorithm>

namespace kinship::family {
namespace {

// The people of the partner component of `start`, in the order of a row: from an end of
// the chain (someone with one partner, when there is one), always on to the partner with
// the fewest partners still unplaced; when the walk is stuck, on from the unplaced person
// with the fewest unplaced partners.
std::vector<int> row_of_component(const Families& families, int start, std::vector<char>& placed)
{
    const auto& partners = families.partners;
    std::vector<int> component{start};
    std::vector<char> in_component(partners.size(), 0);
    in_component[static_cast<std::size_t>(start)] = 1;
    for (std::size_t next = 0; next < component.size(); ++next) {
        for (const int p : partners[static_cast<std::size_t>(component[next])]) {
            if (!in_component[static_cast<std::size_t>(p)]) {
                in_component[static_cast<std::size_t>(p)] = 1;
                component.push_back(p);
            }
        }
    }
    const auto unplaced_partners = [&](int person) {
        return std::ranges::count_if(partners[static_cast<std::size_t>(person)],
                                     [&](int p) { return !placed[static_cast<std::size_t>(p)]; });
    };
    const auto fewest = [&](const auto& candidates) {
        int best = -1;
        long best_count = 0;
        for (const int p : candidates) {
            if (placed[static_cast<std::size_t>(p)]) {
                continue;
            }
            const long count = unplaced_partners(p);
            if (best < 0 || count < best_count) {
                best = p;
                best_count = count;
            }
        }
        return best;
    };
    std::vector<int> row;
    for (int at = fewest(component); at >= 0;) {
        placed[static_cast<std::size_t>(at)] = 1;
        row.push_back(at);
        const int next = fewest(partners[static_cast<std::size_t>(at)]);
        at = next >= 0 ? next : fewest(component);
    }
    return row;
}

} // namespace

Units group_partners(const Families& families)
{
    Units units;
    const std::size_t n = families.partners.size();
    units.unit_of.assign(n, -1);
    std::vector<char> placed(n, 0);
    for (std::size_t person = 0; person < n; ++person) {
        if (placed[person]) {
            continue;
        }
        const std::vector<int> row = row_of_component(families, static_cast<int>(person), placed);
        for (std::size_t from = 0; from < row.size(); from += max_unit_size) {
            const auto to = std::min(row.size(), from + max_unit_size);
            const int unit = static_cast<int>(units.members.size());
            units.members.emplace_back(row.begin() + static_cast<long>(from),
                                       row.begin() + static_cast<long>(to));
            for (const int p : units.members.back()) {
                units.unit_of[static_cast<std::size_t>(p)] = unit;
            }
        }
    }
    return units;
}

void split_unit(Units& units, int u)
{
    std::vector<int>& members = units.members[static_cast<std::size_t>(u)];
    const auto half = members.begin() + static_cast<long>(members.size() / 2);
    std::vector<int> right(half, members.end());
    members.erase(half, members.end());
    for (const int p : right) {
        units.unit_of[static_cast<std::size_t>(p)] = static_cast<int>(units.members.size());
    }
    units.members.push_back(std::move(right));
}

} // namespace kinship::family
