#include "common/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace kinship {

namespace {

std::string describe(const std::string& what, const std::string& path, int error)
{
    return what + " " + path + ": " + std::strerror(error);
}

mode_t default_file_mode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool write_all(int fd, std::string_view content)
{
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        content.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

} // namespace

std::optional<std::string> write_file_atomically(const std::string& path, std::string_view content)
{
    std::string pattern = path + ".tmp-XXXXXX";
    std::vector<char> temp_name(pattern.begin(), pattern.end());
    temp_name.push_back('\0');

    const int fd = ::mkstemp(temp_name.data());
    if (fd < 0) {
        return describe("cannot create", path, errno);
    }
    const std::string temp_path(temp_name.data());

    auto fail = [&](const std::string& what, int error) {
        ::unlink(temp_path.c_str());
        return describe(what, path, error);
    };

    if (::fchmod(fd, default_file_mode()) != 0 || !write_all(fd, content) || ::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        return fail("cannot write", error);
    }
    if (::close(fd) != 0) {
        return fail("cannot write", errno);
    }
    if (::rename(temp_path.c_str(), path.c_str()) != 0) {
        return fail("cannot replace", errno);
    }
    return std::nullopt;
}

} // namespace kinship
