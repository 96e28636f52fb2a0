#pragma once

// Text as an XML document (an SVG picture, a page) takes it, whatever bytes a pedigree,
// a names table or a drawing file holds.

#include <string>
#include <string_view>

namespace kinship::text {

// `bytes` as text for an XML document. Valid UTF-8 is kept; anything else is taken as
// Latin-1, the usual other encoding of hand-written pedigrees, and converted. Control
// characters that XML does not allow (all below U+0020 but tab, line feed and carriage
// return) are left out. Cleaning clean text changes nothing.
std::string xml_text(std::string_view bytes);

} // namespace kinship::text
