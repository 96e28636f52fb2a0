#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "common/result.h"

namespace kinship {

// The whole content of the file at `path`, bytes as they are. `what` names the file in a
// failure: "PATH: cannot open the names table: No such file or directory", "cannot read"
// when reading fails after the open; a folder cannot be opened as a file.
//
// When `refuse_unseekable` is set, anything that is not a regular file and cannot seek (a
// pipe, a socket, a terminal) is refused with the failure it builds from the kind of input
// ("a pipe"), and the file is opened without blocking, so that a named pipe with no writer
// yet is refused at once instead of hanging the open.
Result<std::string> read_whole_file(
    const std::string& path, std::string_view what,
    const std::function<Failure(std::string_view kind)>& refuse_unseekable = {});

} // namespace kinship
