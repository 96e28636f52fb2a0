#include "stats/couples.h"

#include <algorithm>
#include <map>

namespace kinship::stats {

std::vector<MeasuredCouple> find_couples(const Pedigree& pedigree, std::span<const double> kinship,
                                 int degree)
{
    std::vector<MeasuredCouple> couples;
    const std::span<const kinship::Couple> recorded = pedigree.couples();
    couples.reserve(recorded.size());
    for (std::size_t c = 0; c < recorded.size(); ++c) {
        const kinship::Couple& couple = recorded[c];
        couples.push_back(
            {couple.husband, couple.wife, couple.year,
             static_cast<int>(pedigree.couple_children(static_cast<int>(c)).size()), kinship[c],
             relation_of(pedigree, couple.husband, couple.wife, degree)});
    }
    return couples;
}

std::vector<std::pair<std::string, int>> relation_census(std::span<const MeasuredCouple> couples)
{
    std::map<std::string, int> count;
    for (const MeasuredCouple& couple : couples) {
        if (!couple.relation.kin_types.empty()) {
            ++count[couple.relation.kin_types];
        }
    }
    std::vector<std::pair<std::string, int>> census(count.begin(), count.end());
    std::stable_sort(census.begin(), census.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    return census;
}

ClanTables clan_tables(const Pedigree& pedigree, std::span<const MeasuredCouple> couples)
{
    std::map<std::pair<std::string, std::string>, int> marriages;
    std::map<std::string, Endogamy> endogamy;
    ClanTables tables;
    for (const MeasuredCouple& couple : couples) {
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
