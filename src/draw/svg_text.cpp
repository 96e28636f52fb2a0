#include "draw/svg_text.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <sstream>

namespace kinship::draw {

std::string svg_number(double value)
{
    value = std::round(value * 100.0) / 100.0;
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value == 0.0 ? 0.0 : value).ptr;
    return std::string(text, end);
}

ViewBox read_view_box(pugi::xml_node svg)
{
    ViewBox box;
    std::istringstream(svg.attribute("viewBox").value()) >> box.x >> box.y >> box.width >>
        box.height;
    return box;
}

void write_view_box(pugi::xml_node svg, const ViewBox& box)
{
    svg.attribute("viewBox") = (svg_number(box.x) + " " + svg_number(box.y) + " " +
                                svg_number(box.width) + " " + svg_number(box.height))
                                   .c_str();
}

} // namespace kinship::draw
