#pragma once

// How a person looks in the kinship GML files: the colours of the sex's shape, a rectangle
// for a man and an ellipse for anyone else. Only a lower-case 'm' marks a man.

#include <string_view>

namespace kinship::person_style {

inline constexpr double size = 30.0;
inline constexpr double line_width = 2.0;

struct Colours {
    std::string_view fill;
    std::string_view line;
};

inline constexpr Colours man{"#ADD8E6", "#4682b4"};
inline constexpr Colours woman{"#FFE4E1", "#FFDAB9"};

constexpr const Colours& colours(char sex)
{
    return sex == 'm' ? man : woman;
}

} // namespace kinship::person_style
