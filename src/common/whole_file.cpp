#include "common/whole_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kinship {
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

Result<std::string> read_whole_file(
    const std::string& path, std::string_view what,
    const std::function<Failure(std::string_view kind)>& refuse_unseekable)
{
    const auto failed = [&](const char* verb, int error) {
        return failure_of({path, 0, verb + std::string(what), std::strerror(error)});
    };
    const bool rewind = static_cast<bool>(refuse_unseekable);
    const int flags = O_RDONLY | O_CLOEXEC | (rewind ? O_NONBLOCK : 0);
    const int fd = ::open(path.c_str(), flags);
    if (fd < 0) {
        return failed("cannot open ", errno);
    }
    const FileDescriptor input(fd);

    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        return failed("cannot read ", errno);
    }
    if (S_ISDIR(status.st_mode)) {
        return failed("cannot open ", EISDIR);
    }
    if (rewind && !S_ISREG(status.st_mode) && ::lseek(fd, 0, SEEK_CUR) < 0) {
        return refuse_unseekable(unseekable_kind(status.st_mode));
    }
    if (rewind && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        return failed("cannot read ", errno);
    }

    std::string text;
    if (S_ISREG(status.st_mode) && status.st_size > 0) {
        text.reserve(static_cast<std::size_t>(status.st_size));
    }
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got == 0) {
            return text;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return failed("cannot read ", errno);
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

} // namespace kinship
