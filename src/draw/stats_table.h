#pragma once

// What kinship-stats measured about each person (its people.tsv), shown in the picture:
// generation and F in the tooltips, and F as the shapes' fill.

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "common/result.h"
#include "draw/legend.h"
#include "gml/kinship_attributes.h"

namespace kinship::draw {

struct PersonStats {
    std::string generation;
    std::string inbreeding; // as written
    double f = 0;
};
// By id.
using StatsTable = std::unordered_map<std::string, PersonStats>;

// Reads OUTPUT_FOLDER/people.tsv of kinship-stats; its header names the columns id,
// generation and inbreeding. A missing column, a row without as many fields as the header
// or an F that is not a number fails: "PATH:LINE: what was wrong".
Result<StatsTable> load_stats_table(const std::string& folder);

// The couples of kinship-stats' couples.tsv whose kinship is above zero, each as
// couple_key of the partners' ids. A missing column, a row without as many fields as the
// header or a kinship that is not a number fails as load_stats_table does.
using CoupleKinship = std::unordered_set<std::string>;
Result<CoupleKinship> load_couple_kinship(const std::string& folder);
// The two ids in a fixed order, whichever comes first.
std::string couple_key(std::string_view one, std::string_view other);

// The tooltip lines of each node in the graph's order ("\ngeneration: 2\nF: 0.0625"),
// empty for a node the table does not hold.
std::vector<std::string> stats_tooltips(const gml::KinshipAttributes& attributes,
                                        const StatsTable& table);

// Fills each shape by its F on the viridis scale from 0 to the largest F (colour-blind
// safe and readable in grey); F = 0 and people the table does not hold are a light
// neutral. Returns the legend: the two shapes, the neutral swatch and five steps of the
// scale with their F.
std::vector<LegendEntry> colour_by_inbreeding(gml::KinshipAttributes& attributes,
                                              const StatsTable& table);

} // namespace kinship::draw
