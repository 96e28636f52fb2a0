#include "gml/read_error.h"

namespace kinship::gml {

std::string ReadError::describe() const
{
    if (line == 0) {
        return message;
    }
    return "line " + std::to_string(line) + ": " + message;
}

} // namespace kinship::gml
