#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "common/result.h"

namespace kinship {

// How a caller words a failed read; each function gets the system's error number
// (errno) or, for `not_rewindable`, what kind of input it is ("a pipe").
struct FileReadWording {
    std::function<Failure(int error)> cannot_open;
    // A folder opens but cannot be read: it comes here as EISDIR.
    std::function<Failure(int error)> cannot_read;
    // When set, the input must be one that can be read again from the start: anything
    // that is not a regular file and cannot seek (a pipe, a socket, a terminal) is
    // refused with this, and the file is opened without blocking, so that a named pipe
    // with no writer yet is refused at once instead of hanging the open.
    std::function<Failure(std::string_view kind)> not_rewindable;
};

// The whole content of the file at `path`, bytes as they are.
Result<std::string> read_whole_file(const std::string& path, const FileReadWording& wording);

} // namespace kinship
