#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kinship::draw {

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

// An id within `room`: as it is when it fits, else in a smaller font (down to a
// readable minimum), else its last digits after "…". The font size is rounded down to
// a tenth.
struct FittedId {
    std::string text;
    double font_size;
};
FittedId fit_id(std::string_view id, double room, double font_size);

} // namespace kinship::draw
