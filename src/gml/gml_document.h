#pragma once

#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gml/gml_tree.h"

namespace kinship::gml {

// A parsed GML text: its top-level pairs, and the storage behind every list and every
// string an escape changed. Keys and all other strings are views of the text, which must
// outlive the document. Moving a document keeps every view valid.
//
// The pairs of all lists sit in a few large blocks rather than one allocation per list:
// the first GML file of 20 000 people holds a hundred thousand small lists, and the tree
// is read once and dropped.
class GmlDocument {
public:
    GmlDocument() = default;
    // A copy's lists would still point into the original's blocks.
    GmlDocument(const GmlDocument&) = delete;
    GmlDocument& operator=(const GmlDocument&) = delete;
    GmlDocument(GmlDocument&&) = default;
    GmlDocument& operator=(GmlDocument&&) = default;

    const GmlList& pairs() const { return pairs_; }

    // For the parser: keeps a copy of `pairs`, side by side, and returns it as a list.
    GmlList keep_list(std::span<const GmlPair> pairs);
    // For the parser: keeps a string that is not a view of the text.
    std::string_view keep_string(std::string text);
    // For the parser: the list of top-level pairs, one that keep_list returned.
    void set_pairs(GmlList pairs) { pairs_ = pairs; }

private:
    GmlList pairs_;
    // Blocks of pairs; each is reserved once and never grows past it, so the pairs in it
    // never move.
    std::vector<std::vector<GmlPair>> blocks_;
    std::deque<std::string> strings_;
};

} // namespace kinship::gml
