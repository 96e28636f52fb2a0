#pragma once

// Words for the next command a tool prints, so that it can be pasted into a shell.

#include <string>

namespace kinship {

// The word as a POSIX shell reads it back: as it is when it holds only letters, digits
// and a few safe signs, else in single quotes.
std::string shell_word(const std::string& word);

} // namespace kinship
