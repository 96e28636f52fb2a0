#pragma once

// The ways of choosing people from a pedigree, each a walk over the parent and child lists
// of the Pedigree model that marks the people it reaches. Each costs time in proportion to
// the people and links it walks over, plus one flag or number per individual.

#include <limits>
#include <string_view>
#include <span>
#include <vector>

#include "model/pedigree.h"

namespace kinship::select {

// One flag per individual, by index: 1 when chosen.
using Chosen = std::vector<char>;

// A reach in generations that is never reached.
inline constexpr int unlimited = std::numeric_limits<int>::max();

// Each individual's distance in generations from `person` going up through parents (or
// down through children), along the shortest line: 0 for the person, 1 for their parents
// (children), and so on up to `limit`; -1 for everyone not reached.
std::vector<int> generations_up(const Pedigree& pedigree, int person, int limit);
std::vector<int> generations_down(const Pedigree& pedigree, int person, int limit);

// The person and their ancestors (descendants) at most `limit` generations away.
void choose_ancestors(const Pedigree& pedigree, int person, int limit, Chosen& chosen);
void choose_descendants(const Pedigree& pedigree, int person, int limit, Chosen& chosen);

// Blood relatives: the person, their ancestors at most `limit` generations up, and the
// descendants of those ancestors who are at most `limit` generations below the person
// (an ancestor k generations up reaches k + limit generations down). Generations are
// counted along the shortest line up. With no limit: every descendant of every ancestor.
void choose_relatives(const Pedigree& pedigree, int person, int limit, Chosen& chosen);

// The people on the shortest lines joining `a` and `b` through their closest common
// ancestors: those that make the fewest generations up from `a` plus up from `b` (when
// one descends from the other, that one is among them). All ancestors tied at that
// fewest are taken, with every person on a shortest line up to them from either side.
// False, choosing no one, when the two share no ancestor.
bool choose_path(const Pedigree& pedigree, int a, int b, Chosen& chosen);

// Everyone whose clan (sub-clan) is `name`; the number of them.
int choose_clan(const Pedigree& pedigree, std::string_view name, Chosen& chosen);
int choose_subclan(const Pedigree& pedigree, std::string_view name, Chosen& chosen);

// For every chosen person, the other parent of each of their chosen children, and their
// partners in `marriages` (the recorded marriages, with or without children).
void choose_partners(const Pedigree& pedigree, std::span<const Couple> marriages,
                     Chosen& chosen);

} // namespace kinship::select
