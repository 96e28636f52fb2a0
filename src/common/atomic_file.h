#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "common/result.h"

namespace kinship {

// A file that replaces the one at `path` in one step, or leaves it untouched.
//
// The text goes to a temporary file in the target's folder (the target's name, cut to fit
// the file-name length limit, plus ".tmp-" and six random characters), which is closed
// and then renamed over the target, so a reader never sees a half-written file and a
// failed write never truncates an existing one. An existing target keeps its permission
// bits; a new one gets the usual permissions (0666 less the umask). When `path` is a
// symbolic link (or a chain of them), the file it points to is replaced and the link
// stays. A file that is not committed is removed when the AtomicFile goes away.
//
// Failures say what failed ("cannot create ...", "cannot write ...", "cannot replace
// ...") about `path` and why. No temporary file is left behind on failure.
class AtomicFile {
public:
    static Result<AtomicFile> create(const std::string& path);

    AtomicFile(AtomicFile&& other) noexcept;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    AtomicFile& operator=(AtomicFile&&) = delete;
    ~AtomicFile();

    // The text not yet written: a writer appends to it and calls write_if_full between
    // pieces, so that a large file is never held in memory whole.
    std::string& buffer() { return buffer_; }
    void write_if_full();
    // Writes the buffer, then `text`.
    void write(std::string_view text);
    // Writes what is left and puts the file in the target's place; fails with the first
    // failed write, if any, and then removes the file.
    Status commit();

private:
    AtomicFile(std::string path, std::string target, std::string temporary, int fd);
    void remove_temporary();

    std::string path_;      // as given, for messages
    std::string target_;    // the file replaced, links followed
    std::string temporary_; // the file written
    int fd_ = -1;
    int write_error_ = 0;      // errno of the first failed write
    std::size_t written_ = 0;  // bytes written so far
    std::string buffer_;
};

// Replaces the file at `path` with `content`, or leaves it untouched (see AtomicFile).
Status write_file_atomically(const std::string& path, std::string_view content);

} // namespace kinship
