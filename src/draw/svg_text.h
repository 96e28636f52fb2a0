#pragma once

// What every part of the picture writes into SVG: numbers and the view box (text goes
// through text::xml_text first).

#include <string>
#include <string_view>

#include <ogdf/lib/pugixml/pugixml.h>

namespace kinship::draw {

// `value` as an SVG number: rounded to hundredths, without trailing zeros.
std::string svg_number(double value);

// The view box of an SVG picture: its left, top, width and height.
struct ViewBox {
    double x = 0, y = 0, width = 0, height = 0;
};
ViewBox read_view_box(pugi::xml_node svg);
void write_view_box(pugi::xml_node svg, const ViewBox& box);

} // namespace kinship::draw
