#include "family_layout/families.h"

#include <cstdint>
#include <unordered_map>

namespace kinship::family {

Families find_families(const Pedigree& pedigree)
{
    Families families;
    families.partners.resize(static_cast<std::size_t>(pedigree.size()));
    std::unordered_map<std::uint64_t, std::size_t> couple_of;
    for (int child = 0; child < pedigree.size(); ++child) {
        const int father = pedigree.father(child);
        const int mother = pedigree.mother(child);
        if (father == Pedigree::none || mother == Pedigree::none || father == mother) {
            const int parent = father != Pedigree::none ? father : mother;
            if (parent != Pedigree::none) {
                families.single_links.push_back({parent, child});
            }
            continue;
        }
        const std::uint64_t key =
            (static_cast<std::uint64_t>(father) << 32) | static_cast<std::uint32_t>(mother);
        const auto [at, added] = couple_of.try_emplace(key, families.couples.size());
        if (added) {
            families.couples.push_back({father, mother, {}});
            families.partners[static_cast<std::size_t>(father)].push_back(mother);
            families.partners[static_cast<std::size_t>(mother)].push_back(father);
        }
        families.couples[at->second].children.push_back(child);
    }
    return families;
}

} // namespace kinship::family
