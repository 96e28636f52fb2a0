#pragma once

// The couples of a pedigree and what the tables count about them: their relations, the
// census of those relations and the clans they marry between.

#include "model/pedigree.h"
#include "stats/relation.h"

#include <span>
#include <string>
#include <utility>
#include <vector>

namespace kinship::stats {

// A couple of the pedigree (a recorded marriage, or a father and a mother with a common
// child) as the tables show it: `father` is the husband's side.
struct MeasuredCouple {
    int father = 0; // indices
    int mother = 0;
    int year = 0;   // of the marriage; 0 when unknown
    int children = 0;
    double kinship = 0; // the partners' kinship coefficient
    Relation relation;
};

// The pedigree's couples in its order, each with its kinship (from `kinship`, one per
// couple) and its relation within `degree` generations.
std::vector<MeasuredCouple> find_couples(const Pedigree& pedigree, std::span<const double> kinship,
                                 int degree);

// The number of couples of each relation, largest first, then by the relation's letters.
std::vector<std::pair<std::string, int>> relation_census(std::span<const MeasuredCouple> couples);

// The clan of "no clan recorded".
inline constexpr const char* no_clan = "-";

// Couples between a husband's clan and a wife's clan, in the order of the clans' names.
// A couple in which either spouse has no clan recorded is in neither table.
struct ClanCount {
    std::string father_clan;
    std::string mother_clan;
    int couples = 0;
};
struct Endogamy {
    std::string clan;
    int couples = 0;     // with a husband of the clan and a wife of a recorded clan
    int endogamous = 0;  // ... of the same clan
};
struct ClanTables {
    std::vector<ClanCount> marriages;
    std::vector<Endogamy> endogamy;
    int without_clan = 0; // couples left out
};
ClanTables clan_tables(const Pedigree& pedigree, std::span<const MeasuredCouple> couples);

} // namespace kinship::stats
