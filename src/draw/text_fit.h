#pragma once

#include <string>
#include <string_view>

#include "common/text_measure.h"

namespace kinship::draw {

// The picture measures and fits names as kinship-layout does (see common/text_measure.h).
using text::fit_name;
using text::split_words;
using text::text_width;

// An id within `room`: as it is when it fits, else in a smaller font (down to a
// readable minimum), else its last digits after "…". The font size is rounded down to
// a tenth.
struct FittedId {
    std::string text;
    double font_size;
};
FittedId fit_id(std::string_view id, double room, double font_size);

} // namespace kinship::draw
