#pragma once

#include <string>
#include <vector>

#include <ogdf/lib/pugixml/pugixml.h>

#include "gml/kinship_attributes.h"

namespace kinship::draw {

// One line of the legend: a shape that stands for a sex, or a colour swatch, and its text.
struct LegendEntry {
    enum class Mark { man, woman, swatch };
    Mark mark;
    std::string fill;
    std::string line;
    std::string text;
};

// The two shapes as the drawing shows them: its first rectangle ("man") and its first
// ellipse ("woman or not recorded"), each when there is one; family nodes are not people.
std::vector<LegendEntry> sex_legend(const gml::KinshipAttributes& attributes);

// Grows the view box of `svg` down (and, for a narrow picture, to the right) and draws
// `entries` in the new strip, left to right, wrapping at the picture's width, so that the
// legend covers nothing of the drawing.
void add_legend(pugi::xml_node svg, const std::vector<LegendEntry>& entries);

} // namespace kinship::draw
