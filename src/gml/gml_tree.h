#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kinship::gml {

struct GmlPair;

// The pairs of a GML list (or of the whole file), in text order; keys may repeat. A view
// of pairs that live in the GmlDocument the list was read into.
class GmlList {
public:
    GmlList() = default;
    GmlList(const GmlPair* first, std::size_t size) : first_(first), size_(size) {}

    const GmlPair* begin() const { return first_; }
    const GmlPair* end() const;
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

private:
    const GmlPair* first_ = nullptr;
    std::size_t size_ = 0;
};

// One GML value: an integer, a real, a string (escapes already resolved) or a list.
struct GmlValue {
    std::variant<std::int64_t, double, std::string_view, GmlList> data;

    const std::int64_t* integer() const { return std::get_if<std::int64_t>(&data); }
    const double* real() const { return std::get_if<double>(&data); }
    const std::string_view* string() const { return std::get_if<std::string_view>(&data); }
    const GmlList* list() const { return std::get_if<GmlList>(&data); }
};

// A key with its value. Keys are case-sensitive ("Line" and "line" differ).
struct GmlPair {
    std::string_view key;
    GmlValue value;
    // 1-based line of the key, for error messages about the pair.
    std::size_t line = 0;
};

inline const GmlPair* GmlList::end() const
{
    return first_ + size_;
}

// A parsed GML text: its top-level pairs, and the storage behind every list and every
// string an escape changed. Keys and all other strings are views of the text, which must
// outlive the document. Moving a document keeps every view valid.
//
// The pairs of all lists sit in a few large blocks rather than one allocation per list:
// a kinship file holds hundreds of thousands of small lists, and the tree is read once
// and dropped.
class GmlDocument {
public:
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
