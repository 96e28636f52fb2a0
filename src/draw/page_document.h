#pragma once

#include <string>
#include <string_view>

namespace kinship::draw {

// The interactive page: one HTML document that needs nothing else, holding the drawing
// as `data` (page_data), the page's style and script (src/draw/page/, built into the
// program), and `title` as its title. Its content security policy lets the page load
// nothing from anywhere.
std::string page_document(std::string_view data, std::string_view title);

} // namespace kinship::draw
