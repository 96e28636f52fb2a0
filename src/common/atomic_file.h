#pragma once

#include <string>
#include <string_view>

#include "common/result.h"

namespace kinship {

// Replaces the file at `path` with `content`, or leaves it untouched.
//
// The text goes to a temporary file in the target's folder (the target's name, cut to fit
// the file-name length limit, plus ".tmp-" and six random characters), which is flushed,
// closed and then renamed over the target, so a reader never sees a half-written file
// and a failed write never truncates an existing one. An existing target keeps its
// permission bits; a new one gets the usual permissions (0666 less the umask). When
// `path` is a symbolic link (or a chain of them), the file it points to is replaced and
// the link stays.
//
// Fails with a message that says what failed ("cannot create ...",
// "cannot write ...", "cannot replace ...") about `path` and why. No temporary file is
// left behind on failure.
Status write_file_atomically(const std::string& path, std::string_view content);

} // namespace kinship
