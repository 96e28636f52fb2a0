#include "family_layout/couple_units.h"

#include <algorithm>

namespace kinship::family {
namespace {

// Someone with at least this many partners has those who cannot stand beside them put on
// both sides of the row. Each such partner is joined by a line running under the row, which
// crosses the lines of descent of the couples in between; on both sides, half as many
// couples lie between. People with three to five partners are better off with the others
// all on one side: on the real exports, spreading theirs cost couples over their children
// or crossings.
constexpr std::size_t many_partners = 6;

// The people of the partner component of `start`, in the order of a row: from an end of
// the chain (someone with one partner, when there is one), always on to the partner with
// the fewest partners still unplaced. When the walk is stuck, it goes on from the unplaced
// person with the fewest unplaced partners, and that stretch joins the row at its right
// end; or at its left end, turned round, where it starts from a partner of someone with
// many partners who stands nearer the left end. `in_component` and `place` are marks by
// person, kept from one component to the next (each is written before it is read).
std::vector<int> row_of_component(const Families& families, int start, std::vector<char>& placed,
                                  std::vector<char>& in_component, std::vector<long>& place)
{
    const auto& partners = families.partners;
    std::vector<int> component{start};
    in_component[static_cast<std::size_t>(start)] = 1;
    for (std::size_t next = 0; next < component.size(); ++next) {
        for (const int p : partners[static_cast<std::size_t>(component[next])]) {
            if (!in_component[static_cast<std::size_t>(p)]) {
                in_component[static_cast<std::size_t>(p)] = 1;
                component.push_back(p);
            }
        }
    }
    const auto unplaced_partners = [&](int person) {
        return std::ranges::count_if(partners[static_cast<std::size_t>(person)],
                                     [&](int p) { return !placed[static_cast<std::size_t>(p)]; });
    };
    const auto fewest = [&](const auto& candidates) {
        int best = -1;
        long best_count = 0;
        for (const int p : candidates) {
            if (placed[static_cast<std::size_t>(p)]) {
                continue;
            }
            const long count = unplaced_partners(p);
            if (best < 0 || count < best_count) {
                best = p;
                best_count = count;
            }
        }
        return best;
    };
    // The row as two halves from the first person: `right` left to right, `left` right to
    // left; each placed person's place counted from the first one, negative on the left.
    std::vector<int> left;
    std::vector<int> right;
    const auto nearer_left = [&](int first) {
        for (const int p : partners[static_cast<std::size_t>(first)]) {
            const auto q = static_cast<std::size_t>(p);
            if (placed[q] && partners[q].size() >= many_partners) {
                return place[q] + static_cast<long>(left.size()) <
                       static_cast<long>(right.size()) - 1 - place[q];
            }
        }
        return false;
    };
    for (int first = fewest(component); first >= 0; first = fewest(component)) {
        const bool on_left = nearer_left(first);
        auto& half = on_left ? left : right;
        for (int at = first; at >= 0; at = fewest(partners[static_cast<std::size_t>(at)])) {
            placed[static_cast<std::size_t>(at)] = 1;
            half.push_back(at);
            place[static_cast<std::size_t>(at)] =
                on_left ? -static_cast<long>(left.size()) : static_cast<long>(right.size()) - 1;
        }
    }
    std::vector<int> row(left.rbegin(), left.rend());
    row.insert(row.end(), right.begin(), right.end());
    return row;
}

// A row cut into rows of at most max_unit_size: first where neighbours are no partners,
// then each run of partners longer than that into near-equal parts (of two people at
// least, so that nobody is left without the partner beside them); the parts follow one
// another into a row while they fit.
std::vector<std::vector<int>> cut_row(const Families& families, const std::vector<int>& row)
{
    std::vector<std::vector<int>> parts;
    for (std::size_t from = 0; from < row.size();) {
        std::size_t to = from + 1;
        while (to < row.size() && are_partners(families, row[to - 1], row[to])) {
            ++to;
        }
        const std::size_t length = to - from;
        const std::size_t count = (length + max_unit_size - 1) / max_unit_size;
        for (std::size_t k = 0; k < count; ++k) {
            parts.emplace_back(row.begin() + static_cast<long>(from + length * k / count),
                               row.begin() + static_cast<long>(from + length * (k + 1) / count));
        }
        from = to;
    }
    std::vector<std::vector<int>> rows;
    for (auto& part : parts) {
        if (!rows.empty() && rows.back().size() + part.size() <= max_unit_size) {
            rows.back().insert(rows.back().end(), part.begin(), part.end());
        } else {
            rows.push_back(std::move(part));
        }
    }
    return rows;
}

} // namespace

Units group_partners(const Families& families)
{
    Units units;
    const std::size_t n = families.partners.size();
    units.unit_of.assign(n, -1);
    std::vector<char> placed(n, 0);
    std::vector<char> in_component(n, 0);
    std::vector<long> place(n, 0);
    for (std::size_t person = 0; person < n; ++person) {
        if (placed[person]) {
            continue;
        }
        const std::vector<int> row =
            row_of_component(families, static_cast<int>(person), placed, in_component, place);
        for (auto& part : cut_row(families, row)) {
            const int unit = static_cast<int>(units.members.size());
            for (const int p : part) {
                units.unit_of[static_cast<std::size_t>(p)] = unit;
            }
            units.members.push_back(std::move(part));
        }
    }
    return units;
}

std::vector<char> couples_side_by_side(const Families& families, const Units& units)
{
    std::vector<std::size_t> place(units.unit_of.size(), 0);
    for (const auto& row : units.members) {
        for (std::size_t k = 0; k < row.size(); ++k) {
            place[static_cast<std::size_t>(row[k])] = k;
        }
    }
    std::vector<char> side_by_side;
    for (const Family& f : families.couples) {
        const auto father = static_cast<std::size_t>(f.father);
        const auto mother = static_cast<std::size_t>(f.mother);
        side_by_side.push_back(units.unit_of[father] == units.unit_of[mother] &&
                               (place[father] + 1 == place[mother] ||
                                place[mother] + 1 == place[father]));
    }
    return side_by_side;
}

void split_unit(Units& units, int u, std::size_t at)
{
    std::vector<int>& members = units.members[static_cast<std::size_t>(u)];
    const auto cut = members.begin() + static_cast<long>(at);
    std::vector<int> right(cut, members.end());
    members.erase(cut, members.end());
    for (const int p : right) {
        units.unit_of[static_cast<std::size_t>(p)] = static_cast<int>(units.members.size());
    }
    units.members.push_back(std::move(right));
}

} // namespace kinship::family
