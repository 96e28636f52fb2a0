#pragma once

#include <string>
#include <vector>

#include "common/text_measure.h"
#include "model/names_table.h"
#include "gml/kinship_attributes.h"

namespace kinship::draw {

// The font size of the library's id labels and of the names.
inline constexpr double id_font_size = 10.0;
using text::name_font_size;
// A name's line height over its font size.
inline constexpr double name_line_spacing = 1.15;

// What an individual's label shows and where.
struct NodeLabel {
    std::vector<std::string> lines;
    double font_size = id_font_size;
    // A name goes under the shape, its first line's top at `top`; an id stays in the middle.
    bool is_name = false;
    double top = 0.0;
    // The name as the table gives it, for the tooltip; empty for an unnamed individual.
    std::string full_name;
};

// The label of each individual, in the graph's node order: its name from `names` under
// its shape, or, without a name there, its id in the middle. Each label gets the room its
// neighbours leave it: its width is less than the distance to the nearest label beside it
// (whose label does the same, so the two never meet), and a name takes two lines only
// when the shapes below leave room for them, one line otherwise, in a smaller font when
// even that is tight. Within that room the text is shortened as fit_name and fit_id say.
// In a drawing laid out for names (kinship-layout --names: each person's slot, the width
// text::name_slot_width gives their name, at least text::slot_gap from the slots beside
// it, everywhere in the drawing), a name that did not fit takes its slot, less what its
// neighbours' labels and shapes take, and where one line fits below, it goes on two in a
// smaller font when that shows it whole. Other drawings keep the labels above.
// A family node gets an empty label and takes no room from the others.
std::vector<NodeLabel> lay_out_labels(const gml::KinshipAttributes& attributes,
                                      const NamesTable& names);

} // namespace kinship::draw
