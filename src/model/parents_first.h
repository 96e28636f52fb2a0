#pragma once

// An order of the individuals in which everyone comes after their recorded parents, the
// order in which generations, inbreeding and layers are worked out.

#include "common/result.h"
#include "model/pedigree.h"

#include <string_view>
#include <vector>

namespace kinship {

// Every index once, parents before children: the founders in file order, then each child
// as soon as their last parent is placed, so the order is the same on every run. When someone is
// recorded as their own ancestor there is no such order: the failure names `file` and the
// ids on one such cycle.
Result<std::vector<int>> parents_first(const Pedigree& pedigree, std::string_view file);

} // namespace kinship
