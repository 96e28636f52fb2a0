// Getting a pedigree file into memory.
//
// The readers parse the whole text in memory; the file itself is read once. A two-pass
// reader is defined over input it can read again from the start, so input that could not
// be rewound (a pipe, a socket, a terminal) is refused here with that reason, rather than
// being accepted and then failing with a misleading parse error.

#include "pedigree/pedigree_readers.h"
#include "pedigree/read_failure.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pedigree {

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { ::close(fd_); }
    int get() const { return fd_; }

private:
    int fd_;
};

std::string_view unseekable_kind(mode_t mode)
{
    if (S_ISFIFO(mode)) {
        return "a pipe";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    return "an input that is not a regular file";
}

} // namespace

Result<std::string> load_pedigree_text(const char* path, Passes passes)
{
    const std::string_view file = path;
    // A two-pass reader opens without blocking, so that a named pipe with no writer yet is
    // refused at once instead of hanging the open.
    const int flags = O_RDONLY | O_CLOEXEC | (passes == Passes::two ? O_NONBLOCK : 0);
    const int fd = ::open(path, flags);
    if (fd < 0) {
        return detail::open_failure(file, errno);
    }
    const FileDescriptor input(fd);

    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        return detail::read_error_failure(file, errno);
    }
    if (S_ISDIR(status.st_mode)) {
        return detail::open_failure(file, EISDIR);
    }
    if (passes == Passes::two && !S_ISREG(status.st_mode) && ::lseek(fd, 0, SEEK_CUR) < 0) {
        return detail::not_rewindable_failure(file, unseekable_kind(status.st_mode));
    }
    if ((flags & O_NONBLOCK) != 0 &&
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        return detail::read_error_failure(file, errno);
    }

    std::string text;
    if (S_ISREG(status.st_mode) && status.st_size > 0) {
        text.reserve(static_cast<std::size_t>(status.st_size));
    }
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got == 0) {
            break;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return detail::read_error_failure(file, errno);
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return text;
}

} // namespace pedigree
