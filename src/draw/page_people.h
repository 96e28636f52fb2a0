#pragma once

#include <string>
#include <string_view>

#include "draw/names_table.h"
#include "draw/stats_table.h"
#include "gml/kinship_attributes.h"

namespace kinship::draw {

// The people of the drawing as the page's script reads them, one JSON object:
//   {"people": [{"id", "name", "sex", "clan", "subclan", "birth", "death",
//                "parents": [ids], "children": [ids]}, ...],
//    "links": [[parent, child], ...]}
// People come in the graph's node order, which is the order of their groups in the
// picture; a link names its two ends by their place in "people", in the graph's edge
// order, which is the order of the links' groups. The name comes from `names` (empty for
// an unnamed person); sex is "man" for a rectangle and "woman or not recorded" otherwise,
// as the legend says; clan, sub-clan, birth and death are the template's four words, all
// empty for another template. A person whom `stats` (kinship-stats' people.tsv) holds also
// has "generation" and "inbreeding", as that table writes them. The texts must already be
// clean (see xml_text), as kinship-draw makes them once the files are read.
// Family nodes (a drawing of kinship-layout) are not people: a person's parents and
// children are found through them, a line at a family node is the list of the
// [parent, child] pairs that run along it, and "families" gives the family nodes' places
// in the graph's node order, so that the script can tell their groups from the people's.
std::string people_json(const gml::KinshipAttributes& attributes, const NamesTable& names,
                        const StatsTable& stats = {});

// `text` (valid UTF-8) as a JSON string that can also stand inside an HTML <script>
// element: besides quotes, backslashes and control characters, "<", ">" and "&" are
// escaped, so that no "</script>" or "<!--" appears, and so are U+2028 and U+2029, which
// older script parsers take for line ends.
std::string json_string(std::string_view text);

} // namespace kinship::draw
