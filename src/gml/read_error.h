#pragma once

#include <cstddef>
#include <string>

namespace kinship::gml {

// Why a GML text could not be read, and where.
struct ReadError {
    // 1-based line of the text the problem was found on; 0 when it concerns no line
    // (for instance a file that cannot be opened).
    std::size_t line = 0;
    // What was wrong, naming what was found ("key 'w' has no value, found ']'").
    std::string message;

    // "line 12: message", or the message alone when there is no line.
    std::string describe() const;
};

} // namespace kinship::gml
