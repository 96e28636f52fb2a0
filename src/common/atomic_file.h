#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kinship {

// Replaces the file at `path` with `content`, or leaves it untouched.
//
// The text goes to a temporary file in the target's folder, which is flushed, closed and
// then renamed over the target, so a reader never sees a half-written file and a failed
// write never truncates an existing one. The new file gets the usual permissions
// (0666 less the umask), as a file created with fopen would.
//
// Returns nothing on success, or a message that says what failed ("cannot create ...",
// "cannot write ...") and why. No temporary file is left behind on failure.
std::optional<std::string> write_file_atomically(const std::string& path, std::string_view content);

} // namespace kinship
