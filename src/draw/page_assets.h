#pragma once

#include <string_view>

namespace kinship::draw {

// The files of src/draw/page/ as the build read them (see embed_page.cmake): the page's
// HTML skeleton with its {{parts}}, its style sheet and its script.
extern const std::string_view page_skeleton;
extern const std::string_view page_style;
extern const std::string_view page_script;

} // namespace kinship::draw
