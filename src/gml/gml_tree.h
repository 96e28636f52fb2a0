#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kinship::gml {

class GmlPair;

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

// One GML value: an integer, a real, a string (escapes already resolved) or a list. Each
// accessor gives the value when it is of that form.
//
// Values and pairs are packed (16 and 32 bytes): the first GML file of 20 000 people
// parses into half a million pairs. Texts are therefore limited to 4 GiB (see parse_gml).
class GmlValue {
public:
    static GmlValue of_integer(std::int64_t value)
    {
        return GmlValue(Kind::integer, {.integer = value});
    }
    static GmlValue of_real(double value) { return GmlValue(Kind::real, {.real = value}); }
    static GmlValue of_string(std::string_view value)
    {
        return GmlValue(Kind::string, {.text = value.data()}, value.size());
    }
    static GmlValue of_list(GmlList value)
    {
        return GmlValue(Kind::list, {.pairs = value.begin()}, value.size());
    }

    std::optional<std::int64_t> integer() const
    {
        return kind_ == Kind::integer ? std::optional(payload_.integer) : std::nullopt;
    }
    std::optional<double> real() const
    {
        return kind_ == Kind::real ? std::optional(payload_.real) : std::nullopt;
    }
    std::optional<std::string_view> string() const
    {
        return kind_ == Kind::string ? std::optional(std::string_view(payload_.text, size_))
                                     : std::nullopt;
    }
    bool is_list() const { return kind_ == Kind::list; }
    // The pairs of a list, or none for a value of another form. A list, not an optional
    // one, so that a loop over list() holds no reference into a temporary.
    GmlList list() const { return is_list() ? GmlList(payload_.pairs, size_) : GmlList(); }

private:
    enum class Kind : std::uint8_t { integer, real, string, list };
    union Payload {
        std::int64_t integer;
        double real;
        const char* text;
        const GmlPair* pairs;
    };

    // Sizes fit: the parser refuses texts of 4 GiB or more.
    GmlValue(Kind kind, Payload payload, std::size_t size = 0)
        : payload_(payload), size_(static_cast<std::uint32_t>(size)), kind_(kind)
    {
    }

    Payload payload_;
    std::uint32_t size_; // bytes of a string, pairs of a list
    Kind kind_;
};

// A key with its value. Keys are case-sensitive ("Line" and "line" differ).
class GmlPair {
public:
    GmlPair(std::string_view key, GmlValue value, std::size_t line)
        : value(value), key_(key.data()), key_size_(static_cast<std::uint32_t>(key.size())),
          line_(static_cast<std::uint32_t>(line))
    {
    }

    std::string_view key() const { return {key_, key_size_}; }
    // 1-based line of the key, for error messages about the pair.
    std::size_t line() const { return line_; }

    GmlValue value;

private:
    const char* key_;
    std::uint32_t key_size_;
    std::uint32_t line_;
};

static_assert(sizeof(GmlPair) == 32);

inline const GmlPair* GmlList::end() const
{
    return first_ + size_;
}

} // namespace kinship::gml
