#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kinship::gml {

struct GmlPair;

// The pairs of a GML list (or of the whole file), in text order; keys may repeat.
using GmlList = std::vector<GmlPair>;

// One GML value: an integer, a real, a string (escapes already resolved) or a list.
struct GmlValue {
    std::variant<std::int64_t, double, std::string, GmlList> data;

    const std::int64_t* integer() const { return std::get_if<std::int64_t>(&data); }
    const double* real() const { return std::get_if<double>(&data); }
    const std::string* string() const { return std::get_if<std::string>(&data); }
    const GmlList* list() const { return std::get_if<GmlList>(&data); }
};

// A key with its value. Keys are case-sensitive ("Line" and "line" differ). The key is a
// view of the parsed text, which must outlive the tree.
struct GmlPair {
    std::string_view key;
    GmlValue value;
    // 1-based line of the key, for error messages about the pair.
    std::size_t line = 0;
};

} // namespace kinship::gml
