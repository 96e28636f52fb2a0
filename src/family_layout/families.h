#pragma once

// The couples of a pedigree, as the family layout draws them: every couple (a recorded
// marriage, or two parents of a common child) is joined at one family node, from which
// their common children hang; a child with one recorded parent hangs from that parent
// directly.

#include "model/pedigree.h"

#include <vector>

namespace kinship::family {

struct Family {
    int father = Pedigree::none; // the husband's side of the couple
    int mother = Pedigree::none;
    int year = 0;               // of the marriage; 0 when unknown
    std::vector<int> children;  // in file order; none for a childless marriage
};

struct ParentLink {
    int parent = Pedigree::none;
    int child = Pedigree::none;
};

struct Families {
    std::vector<Family> couples;          // in the Pedigree model's order of couples
    std::vector<ParentLink> single_links; // children with one recorded parent, in file order
    // Each person's partners, in couple order, except that the marriages whose years are
    // known are in the order of their years.
    std::vector<std::vector<int>> partners;
};

Families find_families(const Pedigree& pedigree);

// Whether `a` and `b` are partners.
bool are_partners(const Families& families, int a, int b);

} // namespace kinship::family
