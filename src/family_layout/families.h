#pragma once

// The couples of a pedigree, as the family layout draws them: two parents with at least
// one common child hang their children from one family node; a child with one recorded
// parent hangs from that parent directly.

#include "model/pedigree.h"

#include <vector>

namespace kinship::family {

struct Family {
    int father = Pedigree::none;
    int mother = Pedigree::none;
    std::vector<int> children; // in file order
};

struct ParentLink {
    int parent = Pedigree::none;
    int child = Pedigree::none;
};

struct Families {
    std::vector<Family> couples;          // in the file order of their first child
    std::vector<ParentLink> single_links; // children with one recorded parent, in file order
    // Each person's partners (the other parent of a common child), in couple order.
    std::vector<std::vector<int>> partners;
};

Families find_families(const Pedigree& pedigree);

} // namespace kinship::family
