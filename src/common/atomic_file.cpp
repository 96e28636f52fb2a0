#include "common/atomic_file.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace kinship {

namespace {

Failure describe(const std::string& what, const std::string& path, int error)
{
    return Failure{what + " " + path + ": " + std::strerror(error)};
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

std::string folder_of(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The file `path` names once symbolic links are followed (it need not exist), or a
// failure when the links go round.
Result<std::string> follow_links(const std::string& link)
{
    std::string path = link;
    constexpr int max_links = 40; // as the kernel allows when it follows them
    for (int hop = 0; hop < max_links; ++hop) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            return path;
        }
        std::string target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0) {
            return path;
        }
        target.resize(static_cast<std::size_t>(length));
        path = target.starts_with('/') ? target : folder_of(path) + target;
    }
    return describe("cannot create", link, ELOOP);
}

// Creates a new file beside `target` whose name fits the file-name length limit, with
// the given mode (less the umask). Returns its descriptor and name, or -1 with errno set.
int create_temporary(const std::string& target, mode_t mode, std::string& name)
{
    constexpr std::string_view suffix = ".tmp-XXXXXX";
    constexpr char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    const std::string folder = folder_of(target);
    const std::string base = target.substr(folder.size(), NAME_MAX - suffix.size());
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<std::size_t> pick(0, sizeof letters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + base + ".tmp-";
        for (int i = 0; i < 6; ++i) {
            name.push_back(letters[pick(random)]);
        }
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

} // namespace

Status write_file_atomically(const std::string& path, std::string_view content)
{
    const Result<std::string> followed = follow_links(path);
    if (!followed) {
        return followed.failure();
    }
    const std::string& target = followed.value();
    struct stat existing {};
    const bool keep_mode = ::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);

    std::string temp_path;
    const int fd = create_temporary(target, 0666, temp_path);
    if (fd < 0) {
        return describe("cannot create", path, errno);
    }
    auto fail = [&](const std::string& what, int error) {
        ::unlink(temp_path.c_str());
        return describe(what, path, error);
    };

    // The text reaches the disk before the rename: without the fsync, a crash soon after
    // can leave the target's name on an empty file where allocation is delayed. It costs
    // a few milliseconds per file, whatever its size.
    if ((keep_mode && ::fchmod(fd, existing.st_mode & 07777) != 0) || !write_all(fd, content) ||
        ::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        return fail("cannot write", error);
    }
    if (::close(fd) != 0) {
        return fail("cannot write", errno);
    }
    if (::rename(temp_path.c_str(), target.c_str()) != 0) {
        return fail("cannot replace", errno);
    }
    return done;
}

} // namespace kinship
