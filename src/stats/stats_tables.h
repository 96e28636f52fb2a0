#pragma once

// The tables kinship-stats writes, each a tab-separated UTF-8 file with a header line,
// replaced in one step, and the summary it prints.

#include "common/result.h"
#include "model/pedigree.h"
#include "stats/ancestry.h"
#include "stats/couples.h"

#include <string>
#include <unordered_map>

namespace kinship::stats {

struct Measures {
    const Pedigree& pedigree;
    const std::unordered_map<std::string, std::string>& names; // by id
    const Ancestry& ancestry;
    const std::vector<MeasuredCouple>& couples;
    const ClanTables& clans;
    int degree = 3;
    // Whether the couples come with a marriages table: couples.tsv then ends in the
    // marriage year.
    bool marriages = false;
};

// The table file names, in the order they are written.
inline constexpr const char* table_names[] = {"people.tsv", "couples.tsv", "circuits.tsv",
                                              "clans.tsv", "endogamy.tsv"};

// Writes every table into `folder`, which must exist; stops at the first that fails.
Status write_tables(const Measures& measures, const std::string& folder);

// A few lines: people, founders and generations; F; couples and their relations; clan
// endogamy.
std::string summary(const Measures& measures);

// F as the tables write it: 12 significant digits, 0 as "0".
std::string f_text(double f);

} // namespace kinship::stats
