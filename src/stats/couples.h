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

// A father and a mother with at least one common child.
struct Couple {
    int father = 0; // indices
    int mother = 0;
    int first_child = 0;
    int children = 0;
    Relation relation;
};

// The couples in the order of their first child in the file, each with its relation
// within `degree` generations.
std::vector<Couple> find_couples(const Pedigree& pedigree, int degree);

// The number of couples of each relation, largest first, then by the relation's letters.
std::vector<std::pair<std::string, int>> relation_census(std::span<const Couple> couples);

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
ClanTables clan_tables(const Pedigree& pedigree, std::span<const Couple> couples);

} // namespace kinship::stats
