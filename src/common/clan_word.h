#pragma once

// How every tool reads a clan or sub-clan word of the pedigree file: `-` means that none
// was recorded (the GEDCOM importer writes it for a person without a surname), and `_`
// stands for a blank, since a word of the file cannot hold one.

#include <string>
#include <string_view>

namespace kinship::clan {

// The word that means no clan (or sub-clan) was recorded.
inline constexpr std::string_view none = "-";

constexpr bool is_no_clan(std::string_view word)
{
    return word == none;
}

// The word as a person reads it: each `_` shown as a blank.
std::string display_clan(std::string_view word);

} // namespace kinship::clan
