#pragma once

// Measuring and fitting the text under a person's shape, the same way for kinship-layout,
// which gives each person the width their name needs, and kinship-draw, which then writes
// the name within that width.

#include <string>
#include <string_view>
#include <vector>

namespace kinship::text {

// The font size of the names under the shapes, and the widest a name's label may be: five
// shapes across, about twenty letters a line, enough for nearly every name whole on two
// lines without one long name spreading its row far apart.
inline constexpr double name_font_size = 12.0;
inline constexpr double widest_name = 150.0;
// The least gap kinship-layout leaves between the widths of two people side by side.
inline constexpr double slot_gap = 15.0;

inline constexpr std::string_view ellipsis = "\u2026";

// The characters of UTF-8 text, each as its bytes (a byte that starts none on its own).
std::vector<std::string_view> characters(std::string_view text);

// The words of `text`, split at blanks and tabs.
std::vector<std::string_view> split_words(std::string_view text);

// The width of the UTF-8 `text` in a sans-serif font of `font_size`, estimated from the
// kind of each character (narrow letters, capitals, digits, CJK and other wide
// characters, combining marks). No font is at hand when the picture is made, so the
// estimate errs on the wide side: labels laid out by it do not touch.
double text_width(std::string_view text, double font_size);

// The lines (one or, when `max_lines` is 2, at most two) that show `name` within `room`.
// A name that fits stays whole on one line. Otherwise it is shortened step by step: with
// two lines the given names, then the surname (the last word) below; the given names
// become the first one plus initials, the first one, initials, one initial; on one line,
// initials plus surname, one initial plus surname, the surname. Lower-case particles
// ("da", "van") get no initial. What still does not fit is cut, ending in "…".
std::vector<std::string> fit_name(std::string_view name, double room, double font_size,
                                  int max_lines);

// The least room in which fit_name shows `name` whole on at most two lines: the wider of
// the given names and the surname (the last word), or the one word.
double name_width(std::string_view name, double font_size);

// The width kinship-layout gives a person with a shape `shape_width` wide and `name`
// (empty for none): what the name needs at name_font_size, at least the shape's width and
// at most widest_name.
double name_slot_width(std::string_view name, double shape_width);

} // namespace kinship::text
