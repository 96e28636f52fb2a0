#pragma once

// Reads whitespace-separated items from an in-memory text the way the C library's scanf
// reads them with the patterns the pedigree layouts are defined by:
//
//   %d  skips whitespace, then an optional sign and one or more decimal digits that make
//       up the whole word: "1880-1950" or "2O1" is refused as one item, not read as two.
//       A value outside the int range is refused (scanf's behaviour there is undefined).
//   %c  takes the next character, whatever it is (the layouts always put a blank before
//       it, so in practice it is the first non-blank character); it must be a word of its
//       own, so "male" is refused rather than read as 'm' followed by "ale".
//   %s  skips whitespace, then takes the run of non-whitespace characters. A run holding
//       a NUL byte is refused: stored as a C string it would silently lose its tail.
//   a blank in the pattern absorbs any run of whitespace, including none.
//
// Whitespace is what isspace() accepts in the C locale. Scanning stops at the first item
// that cannot be read; the failure says which item and what stood there.

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <variant>

namespace pedigree {

// A %s target with a length limit: a longer word is a failure, not a truncation.
struct Word {
    std::string_view text;
    std::size_t max_length;
};

using ScanTarget = std::variant<int*, char*, Word*>;

enum class ScanProblem {
    end_of_input,      // the text ended before the item
    not_an_integer,    // %d found a word that is not all digits
    out_of_range,      // %d found digits whose value does not fit an int
    word_too_long,     // %s found a word longer than its target allows
    nul_in_word,       // %s found a word holding a NUL byte, which a C string would cut short
    not_one_character, // %c found a word of more than one character
};

struct ScanFailure {
    std::size_t item; // 0-based position of the conversion in the pattern
    ScanProblem problem;
    std::string_view found; // the text that stood there (empty at end of input)
    std::size_t position;   // where that text starts (or where the text ended)
};

class TextScanner {
public:
    explicit TextScanner(std::string_view text) : text_(text) {}

    // Reads the items of `pattern` into `targets`, one target per conversion, in order.
    // Patterns are the program's own constants: an unknown directive or a target of the
    // wrong kind throws std::invalid_argument.
    template <typename... Targets>
    std::optional<ScanFailure> scan(std::string_view pattern, Targets*... targets)
    {
        const std::array<ScanTarget, sizeof...(Targets)> list{ScanTarget{targets}...};
        return scan_list(pattern, list);
    }

    std::string_view text() const { return text_; }
    std::size_t position() const { return pos_; }
    // Moves past whitespace, to where the next item starts.
    void skip_whitespace();
    // Whether anything but whitespace is left.
    bool at_end();
    // The line, counted from 1 as an editor counts it, that holds `position`.
    std::size_t line_of(std::size_t position) const;
    // The line of the last character that is not whitespace (1 when there is none).
    std::size_t last_line() const;

private:
    std::optional<ScanFailure> scan_list(std::string_view pattern,
                                         std::span<const ScanTarget> targets);
    std::string_view token_at(std::size_t start) const;
    std::optional<ScanProblem> read_int(int& value, std::string_view& found);
    std::optional<ScanProblem> read_char(char& value, std::string_view& found);
    std::optional<ScanProblem> read_word(Word& word);

    std::string_view text_;
    std::size_t pos_ = 0;
};

} // namespace pedigree
