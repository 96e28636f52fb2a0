#include "family_layout/row_orientation.h"

#include <algorithm>

namespace kinship::family {
namespace {

// The line pairs of a row that cross as it stands and that would cross reversed: a line
// of a person further left that ends right of a line of a person further right crosses it.
struct Crossings {
    long standing = 0;
    long reversed = 0;
};

void count_pairs(const std::vector<int>& row, const std::vector<std::vector<double>>& ends,
                 Crossings& crossings)
{
    for (std::size_t i = 0; i < row.size(); ++i) {
        for (std::size_t j = i + 1; j < row.size(); ++j) {
            for (const double a : ends[static_cast<std::size_t>(row[i])]) {
                for (const double b : ends[static_cast<std::size_t>(row[j])]) {
                    crossings.standing += a > b;
                    crossings.reversed += a < b;
                }
            }
        }
    }
}

} // namespace

void orient_rows(Units& units, const LineEnds& ends)
{
    for (std::vector<int>& row : units.members) {
        if (row.size() < 2) {
            continue;
        }
        Crossings crossings;
        count_pairs(row, ends.up, crossings);
        count_pairs(row, ends.down, crossings);
        if (crossings.reversed < crossings.standing) {
            std::ranges::reverse(row);
        }
    }
}

} // namespace kinship::family
