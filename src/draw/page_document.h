#pragma once

#include <string>
#include <string_view>

namespace kinship::draw {

// The interactive page: one HTML document that needs nothing else, holding the picture
// `svg` as draw_svg wrote it (without its XML declaration, which HTML has no use for),
// the people as `people_json` gives them, the page's style and script (src/draw/page/,
// built into the program), and `title` as its title. Its content security policy lets
// the page load nothing from anywhere.
std::string page_document(std::string_view svg, std::string_view people_json,
                          std::string_view title);

} // namespace kinship::draw
