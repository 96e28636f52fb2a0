#pragma once

// How a wife is related to her husband, in kin-type letters read from him: up by F
// (father) and M (mother), across by B (brother) and Z (sister) where the path turns at two
// full siblings, down by S (son) and D (daughter).

#include "model/pedigree.h"

#include <string>

namespace kinship::stats {

struct Relation {
    // Empty when no common ancestor lies within the degree; several equally close ones
    // are sorted and separated by commas ("FZD,MBD" for double first cousins).
    std::string kin_types;
    // The generations up from the husband and from the wife to the closest common
    // ancestor; -1 without one. Where the equally close relations differ in these, the
    // figures are the first relation's.
    int up_husband = -1;
    int up_wife = -1;
};

// The closest relation: the common ancestors (either spouse included) within `degree`
// generations above each spouse with the fewest generations up from both together. The
// search goes up at most `degree` steps from each, so its cost is at most 2^degree paths.
Relation relation_of(const Pedigree& pedigree, int husband, int wife, int degree);

} // namespace kinship::stats
