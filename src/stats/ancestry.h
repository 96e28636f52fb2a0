#pragma once

// Each individual's generation, number of distinct recorded ancestors and inbreeding
// coefficient F, worked out exactly in memory linear in the number of people.

#include "model/pedigree.h"

#include <cstdint>
#include <span>
#include <vector>

namespace kinship::stats {

struct Ancestry {
    // By index: 0 without a recorded parent, else 1 + the larger of the parents'.
    std::vector<int> generation;
    std::vector<std::int64_t> ancestors; // distinct recorded ancestors
    std::vector<double> inbreeding;      // F, the kinship coefficient of the two parents
    // By couple (Pedigree::couples): the kinship coefficient of the two partners, the F
    // their child has or would have.
    std::vector<double> couple_kinship;
};

// `order` is a parents-first order of every index (see model/parents_first.h). `threads`
// workers share each generation's families; the values do not depend on their number.
//
// The method is Meuwissen and Luo's (1992), from A = L D L': F of a child is the kinship
// of its parents s and d, half the sum of L(s,j) L(d,j) D(j) over their ancestors j (each
// parent included), where L(s,j) is the share of j's genes expected in s (1 for s itself,
// halved at each step up, added over the paths) and D(j) the within-family variance of j.
// It is worked out once per family, since full siblings share it (the grouping of
// Sargolzaei et al. 2005), and the ancestors are taken generation by generation rather than
// through a priority queue: no one is the ancestor of someone of the same generation or an
// earlier one. The same walk counts the distinct ancestors. A couple without a common child
// is measured as the family of a child they might have had.
Ancestry measure_ancestry(const Pedigree& pedigree, std::span<const int> order, int threads);

} // namespace kinship::stats
