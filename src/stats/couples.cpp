#include "stats/couples.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <unordered_map>

namespace kinship::stats {

std::vector<Couple> find_couples(const Pedigree& pedigree, int degree)
{
    std::vector<Couple> couples;
    std::unordered_map<std::uint64_t, std::size_t> couple_of;
    for (int i = 0; i < pedigree.size(); ++i) {
        const int father = pedigree.father(i);
        const int mother = pedigree.mother(i);
        if (father == Pedigree::none || mother == Pedigree::none) {
            continue;
        }
        const std::uint64_t key = (static_cast<std::uint64_t>(father) << 32) |
                                  static_cast<std::uint32_t>(mother);
        const auto [at, added] = couple_of.emplace(key, couples.size());
        if (added) {
            couples.push_back(
                {father, mother, i, 0, relation_of(pedigree, father, mother, degree)});
        }
        ++couples[at->second].children;
    }
    return couples;
}

std::vector<std::pair<std::string, int>> relation_census(std::span<const Couple> couples)
{
    std::map<std::string, int> count;
    for (const Couple& couple : couples) {
        if (!couple.relation.kin_types.empty()) {
            ++count[couple.relation.kin_types];
        }
    }
    std::vector<std::pair<std::string, int>> census(count.begin(), count.end());
    std::stable_sort(census.begin(), census.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    return census;
}

ClanTables clan_tables(const Pedigree& pedigree, std::span<const Couple> couples)
{
    std::map<std::pair<std::string, std::string>, int> marriages;
    std::map<std::string, Endogamy> endogamy;
    ClanTables tables;
    for (const Couple& couple : couples) {
        const std::string& husband = pedigree.person(couple.father).clan;
        const std::string& wife = pedigree.person(couple.mother).clan;
        if (husband == no_clan || wife == no_clan) {
            ++tables.without_clan;
            continue;
        }
        ++marriages[{husband, wife}];
        Endogamy& clan = endogamy[husband];
        clan.clan = husband;
        ++clan.couples;
        clan.endogamous += husband == wife;
    }
    for (const auto& [clans, count] : marriages) {
        tables.marriages.push_back({clans.first, clans.second, count});
    }
    for (const auto& [name, clan] : endogamy) {
        tables.endogamy.push_back(clan);
    }
    return tables;
}

} // namespace kinship::stats
