#include "family_layout/families.h"

#include <algorithm>

namespace kinship::family {
namespace {

// Puts the partners whose marriage year is known in the order of their years, in the
// places such partners hold in `partners`; those of unknown year keep their places.
void order_by_year(std::vector<int>& partners, const std::vector<int>& years)
{
    std::vector<std::size_t> places;
    std::vector<std::pair<int, int>> dated; // (year, partner), in the list's order
    for (std::size_t k = 0; k < partners.size(); ++k) {
        if (years[k] != 0) {
            places.push_back(k);
            dated.emplace_back(years[k], partners[k]);
        }
    }
    std::ranges::stable_sort(dated, {}, &std::pair<int, int>::first);
    for (std::size_t k = 0; k < places.size(); ++k) {
        partners[places[k]] = dated[k].second;
    }
}

} // namespace

Families find_families(const Pedigree& pedigree)
{
    Families families;
    const auto n = static_cast<std::size_t>(pedigree.size());
    families.partners.resize(n);
    std::vector<std::vector<int>> years(n);
    const std::span<const Couple> couples = pedigree.couples();
    for (std::size_t c = 0; c < couples.size(); ++c) {
        const Couple& couple = couples[c];
        const std::span<const int> children = pedigree.couple_children(static_cast<int>(c));
        families.couples.push_back(
            {couple.husband, couple.wife, couple.year, {children.begin(), children.end()}});
        for (const auto& [one, other] : {std::pair{couple.husband, couple.wife},
                                        std::pair{couple.wife, couple.husband}}) {
            families.partners[static_cast<std::size_t>(one)].push_back(other);
            years[static_cast<std::size_t>(one)].push_back(couple.year);
        }
    }
    for (std::size_t p = 0; p < n; ++p) {
        order_by_year(families.partners[p], years[p]);
    }
    for (int child = 0; child < pedigree.size(); ++child) {
        const int father = pedigree.father(child);
        const int mother = pedigree.mother(child);
        if (father == Pedigree::none || mother == Pedigree::none) {
            const int parent = father != Pedigree::none ? father : mother;
            if (parent != Pedigree::none) {
                families.single_links.push_back({parent, child});
            }
        }
    }
    return families;
}

bool are_partners(const Families& families, int a, int b)
{
    return std::ranges::find(families.partners[static_cast<std::size_t>(a)], b) !=
           families.partners[static_cast<std::size_t>(a)].end();
}

} // namespace kinship::family
