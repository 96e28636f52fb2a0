#pragma once

// What every part of the picture writes into SVG: text an XML document takes, numbers, and
// the view box.

#include <string>
#include <string_view>

#include <ogdf/lib/pugixml/pugixml.h>

namespace kinship::draw {

// `bytes` as text for an XML document. Valid UTF-8 is kept; anything else is taken as
// Latin-1, the usual other encoding of hand-written pedigrees, and converted. Control
// characters that XML does not allow (all below U+0020 but tab, line feed and carriage
// return) are left out. Cleaning clean text changes nothing.
std::string xml_text(std::string_view bytes);

// `value` as an SVG number: rounded to hundredths, without trailing zeros.
std::string svg_number(double value);

// The view box of an SVG picture: its left, top, width and height.
struct ViewBox {
    double x = 0, y = 0, width = 0, height = 0;
};
ViewBox read_view_box(pugi::xml_node svg);
void write_view_box(pugi::xml_node svg, const ViewBox& box);

} // namespace kinship::draw
